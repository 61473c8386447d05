#include "gauge_host/core/scenario_parser.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "gauge_host/core/frame_comparison.h"
#include "gauge_host/core/record_walk.h"

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits one line into words and quoted texts; drops the comment.
bool Tokenize(const std::string& line, std::vector<Token>* tokens, std::string* error)
{
    tokens->clear();
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token token{"", true};
            for (++i;; ++i) {
                if (i == line.size()) {
                    *error = "text has no closing quote";
                    return false;
                }
                if (line[i] == '"')
                    break;
                if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\'))
                    ++i;
                token.text.push_back(line[i]);
            }
            ++i;
            tokens->push_back(std::move(token));
        } else {
            Token token;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '#' && line[i] != '"')
                token.text.push_back(line[i++]);
            tokens->push_back(std::move(token));
        }
    }
    return true;
}

// Decimal or 0x hex, optional sign, within [min, max].
bool ParseInteger(const Token& token, int64_t min, int64_t max, int64_t* out)
{
    if (token.quoted)
        return false;
    const char* p = token.text.c_str();
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    int base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    if (!*p)
        return false;
    int64_t magnitude = 0;
    for (; *p; ++p) {
        int digit;
        if (*p >= '0' && *p <= '9')
            digit = *p - '0';
        else if (base == 16 && *p >= 'a' && *p <= 'f')
            digit = *p - 'a' + 10;
        else if (base == 16 && *p >= 'A' && *p <= 'F')
            digit = *p - 'A' + 10;
        else
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > (int64_t(1) << 40))
            return false;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < min || value > max)
        return false;
    *out = value;
    return true;
}

// The token as an error line quotes it: a quoted text keeps its quotes, so
// "up" given where the word up belongs reads as the mistake it is.
std::string Shown(const Token& token)
{
    return token.quoted ? "\"" + token.text + "\"" : "'" + token.text + "'";
}

bool ParseReal(const Token& token, double* out)
{
    int64_t whole;
    if (ParseInteger(token, -(int64_t(1) << 40), int64_t(1) << 40, &whole)) {
        *out = double(whole);
        return true;
    }
    if (token.quoted || token.text.empty() || token.text.find_first_of("xXpP") != std::string::npos)
        return false;
    char* end;
    *out = strtod(token.text.c_str(), &end);
    return *end == 0 && isfinite(*out);
}

class LineParser {
public:
    LineParser(const std::vector<Token>& tokens, ScenarioCommand* command, std::string* error)
        : tokens_(tokens), command_(command), error_(error)
    {
    }

    bool Parse();

private:
    bool Fail(std::string message)
    {
        *error_ = std::move(message);
        return false;
    }
    bool Arguments(size_t least, size_t most, const char* usage)
    {
        const size_t given = tokens_.size() - 1;
        if (given < least || given > most)
            return Fail(std::string("usage: ") + usage);
        return true;
    }
    bool Point(size_t at)
    {
        int64_t x, y;
        if (!ParseInteger(tokens_[at], -MaxCoordinate, MaxCoordinate, &x) ||
            !ParseInteger(tokens_[at + 1], -MaxCoordinate, MaxCoordinate, &y))
            return Fail("point '" + tokens_[at].text + " " + tokens_[at + 1].text +
                        "' is not two whole numbers of face pixels");
        command_->x = int(x);
        command_->y = int(y);
        return true;
    }
    bool Text(size_t at, const char* what)
    {
        if (!tokens_[at].quoted)
            return Fail(std::string(what) + " must be in double quotes, as in \"" + tokens_[at].text + "\"");
        command_->text = tokens_[at].text;
        return true;
    }
    bool Word(size_t at, const char* first, const char* second, bool* is_second)
    {
        if (tokens_[at].quoted || (tokens_[at].text != first && tokens_[at].text != second))
            return Fail(Shown(tokens_[at]) + " should be " + first + " or " + second);
        *is_second = tokens_[at].text == second;
        return true;
    }
    bool PngFile(size_t at)
    {
        command_->text = tokens_[at].text;
        const size_t n = command_->text.size();
        if (n < 5 || command_->text.compare(n - 4, 4, ".png") != 0)
            return Fail("snapshot file '" + command_->text + "' should end in .png");
        return true;
    }
    bool Expect();

    const std::vector<Token>& tokens_;
    ScenarioCommand* command_;
    std::string* error_;
};

bool LineParser::Parse()
{
    const std::string& name = tokens_[0].text;
    ScenarioCommand& c = *command_;
    if (tokens_[0].quoted)
        return Fail("a line starts with a command, not a quoted text");
    if (name == "var") {
        c.kind = ScenarioCommand::SetVariable;
        int64_t number;
        if (!Arguments(2, 2, "var N VALUE"))
            return false;
        if (!ParseInteger(tokens_[1], 0, UINT32_MAX, &number))
            return Fail("variable '" + tokens_[1].text + "' is not a number from 0 to 0xFFFFFFFF");
        c.number = uint32_t(number);
        if (!ParseReal(tokens_[2], &c.value))
            return Fail("value '" + tokens_[2].text + "' is not a number");
        return true;
    }
    if (name == "frame") {
        c.kind = ScenarioCommand::RunFrames;
        int64_t count = 1;
        if (!Arguments(0, 1, "frame [COUNT]"))
            return false;
        if (tokens_.size() == 2 && !ParseInteger(tokens_[1], 1, MaxFrameCount, &count))
            return Fail("frame count '" + tokens_[1].text + "' is not a whole number from 1 to " +
                        std::to_string(MaxFrameCount));
        c.count = int(count);
        return true;
    }
    if (name == "click") {
        c.kind = ScenarioCommand::Click;
        return Arguments(2, 3, "click X Y [left|right]") && Point(1) &&
               (tokens_.size() == 3 || Word(3, "left", "right", &c.right_button));
    }
    if (name == "hold") {
        c.kind = ScenarioCommand::Hold;
        if (!Arguments(3, 3, "hold X Y SECONDS") || !Point(1))
            return false;
        if (!ParseReal(tokens_[3], &c.value) || c.value <= 0 || c.value > MaxHoldSeconds)
            return Fail("hold time '" + tokens_[3].text + "' is not a number of seconds above 0, at most " +
                        std::to_string(int(MaxHoldSeconds)));
        return true;
    }
    if (name == "expect")
        return Expect();
    if (name == "snapshot") {
        c.kind = ScenarioCommand::Snapshot;
        return Arguments(1, 1, "snapshot FILE.png") && PngFile(1);
    }
    return Fail("unknown command '" + name + "' (var, frame, click, hold, expect, snapshot)");
}

bool LineParser::Expect()
{
    ScenarioCommand& c = *command_;
    if (tokens_.size() < 2)
        return Fail("usage: expect event|no-event|readout|knob|tooltip|cursor|snapshot ...");
    const std::string what = tokens_[1].quoted ? "" : tokens_[1].text;
    // The arguments after "expect WHAT".
    auto arguments = [&](size_t count, const char* usage) {
        if (tokens_.size() - 2 != count)
            return Fail(std::string("usage: expect ") + usage);
        return true;
    };
    if (what == "event") {
        c.kind = ScenarioCommand::ExpectEvent;
        int64_t event, value;
        if (!arguments(2, "event EVENT VALUE"))
            return false;
        if (!ParseInteger(tokens_[2], 0, UINT32_MAX, &event))
            return Fail("event '" + tokens_[2].text + "' is not a number from 0 to 0xFFFFFFFF");
        if (!ParseInteger(tokens_[3], INT32_MIN, UINT32_MAX, &value))
            return Fail("event value '" + tokens_[3].text + "' is not a 32-bit number");
        c.number = uint32_t(event);
        c.event_value = int32_t(uint32_t(value));
        return true;
    }
    if (what == "no-event") {
        c.kind = ScenarioCommand::ExpectNoEvent;
        return arguments(0, "no-event");
    }
    if (what == "readout") {
        c.kind = ScenarioCommand::ExpectReadout;
        return arguments(2, "readout left|right \"TEXT\"") && Word(2, "left", "right", &c.right_readout) &&
               Text(3, "the readout's text");
    }
    if (what == "knob") {
        c.kind = ScenarioCommand::ExpectKnob;
        if (!arguments(1, "knob DEGREES"))
            return false;
        if (!ParseReal(tokens_[2], &c.value))
            return Fail("knob value '" + tokens_[2].text + "' is not a number");
        return true;
    }
    if (what == "tooltip") {
        c.kind = ScenarioCommand::ExpectTooltip;
        return arguments(1, "tooltip \"TEXT\"") && Text(2, "the tooltip");
    }
    if (what == "cursor") {
        c.kind = ScenarioCommand::ExpectCursor;
        if (!arguments(3, "cursor X Y up|down|none") || !Point(2))
            return false;
        const std::string name = tokens_[4].quoted ? "" : tokens_[4].text;
        if (name == "up")
            c.cursor = CURSOR_UP_ARROW;
        else if (name == "down")
            c.cursor = CURSOR_DOWN_ARROW;
        else if (name == "none")
            c.cursor = CURSOR_NONE;
        else
            return Fail("cursor " + Shown(tokens_[4]) + " should be up, down or none");
        return true;
    }
    if (what == "snapshot") {
        c.kind = ScenarioCommand::ExpectSnapshot;
        const size_t given = tokens_.size() - 2;
        if (given < 1 || given > 3)
            return Fail("usage: expect snapshot FILE.png [TOLERANCE [PIXELS]]");
        if (!PngFile(2))
            return false;
        int64_t number;
        if (given >= 2) {
            if (!ParseInteger(tokens_[3], 0, MaxChannelTolerance, &number))
                return Fail("tolerance '" + tokens_[3].text + "' is not a whole number from 0 to " +
                            std::to_string(MaxChannelTolerance));
            c.tolerance = int(number);
        }
        if (given == 3) {
            if (!ParseInteger(tokens_[4], 0, MaxAllowedPixels, &number))
                return Fail("pixel count '" + tokens_[4].text + "' is not a whole number from 0 up");
            c.allowed_pixels = number;
        }
        return true;
    }
    return Fail("unknown expectation " + Shown(tokens_[1]) +
                " (event, no-event, readout, knob, tooltip, cursor, snapshot)");
}

}  // namespace

std::string QuoteScenarioText(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted.push_back('\\');
        quoted.push_back(c);
    }
    return quoted + "\"";
}

bool ParseScenario(const char* text, size_t size, const std::string& file, Scenario* scenario, std::string* error)
{
    *scenario = {};
    scenario->file = file;
    bool drawn = false;
    int line_number = 0;
    size_t start = 0;
    while (start < size) {
        ++line_number;
        size_t end = start;
        while (end < size && text[end] != '\n')
            ++end;
        std::string line(text + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = file + ":" + std::to_string(line_number) + ": ";
        if (line.find('\0') != std::string::npos) {
            *error = where + "a NUL byte: this is not a text file";
            return false;
        }

        std::vector<Token> tokens;
        std::string message;
        if (!Tokenize(line, &tokens, &message)) {
            *error = where + message;
            return false;
        }
        if (tokens.empty())
            continue;
        ScenarioCommand command;
        command.line = line_number;
        if (!LineParser(tokens, &command, &message).Parse()) {
            *error = where + message;
            return false;
        }
        if (command.kind == ScenarioCommand::RunFrames || command.kind == ScenarioCommand::Click ||
            command.kind == ScenarioCommand::Hold)
            drawn = true;
        if ((command.kind == ScenarioCommand::Snapshot || command.kind == ScenarioCommand::ExpectSnapshot) && !drawn) {
            *error = where + "snapshot before any frame was drawn (run 'frame' first)";
            return false;
        }
        scenario->commands.push_back(std::move(command));
    }
    return true;
}
