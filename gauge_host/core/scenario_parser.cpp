// A line is split into words, its command looked up in the table of
// scenario_commands.h, the argument count checked against the row's usage,
// then the row's parse function reads the arguments.
#include "gauge_host/core/scenario_parser.h"

#include <math.h>
#include <stdlib.h>

#include "gauge_host/core/record_walk.h"
#include "gauge_host/core/scenario_commands.h"
#include "common/fail.h"
#include "common/numbers.h"

namespace {

// Splits one line into words and quoted texts; drops the comment.
bool Tokenize(const std::string& line, std::vector<ScenarioToken>* tokens, std::string* error)
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
            ScenarioToken token{"", true};
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
            ScenarioToken token;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '#' && line[i] != '"')
                token.text.push_back(line[i++]);
            tokens->push_back(std::move(token));
        }
    }
    return true;
}

// Decimal or 0x hex, optional sign, within [min, max].
bool ParseInteger(const ScenarioToken& token, int64_t min, int64_t max, int64_t* out)
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
std::string Shown(const ScenarioToken& token)
{
    return token.quoted ? "\"" + token.text + "\"" : "'" + token.text + "'";
}

// "a, b or c" (last = " or "), or "a|b|c" (both "|").
std::string Join(const std::vector<std::string>& words, const char* between, const char* last)
{
    std::string text;
    for (size_t i = 0; i < words.size(); ++i)
        text += (i == 0 ? "" : i + 1 == words.size() ? last : between) + words[i];
    return text;
}

std::string Usage(const ScenarioCommandType& type)
{
    return "usage: " + std::string(type.name) + (*type.arguments ? " " : "") + type.arguments;
}

// The row for a line's first word, or its first two for "expect"; *used
// says how many words the name took.
const ScenarioCommandType* Lookup(const std::vector<ScenarioToken>& tokens, size_t* used, std::string* error)
{
    if (tokens[0].quoted)
        return Fail(error, "a line starts with a command, not a quoted text"), nullptr;
    std::vector<std::string> commands, second_words;
    for (const ScenarioCommandType& type : ScenarioCommandTypes()) {
        const std::string name = type.name;
        const size_t space = name.find(' ');
        const std::string first = name.substr(0, space);
        if (commands.empty() || commands.back() != first)
            commands.push_back(first);
        if (first != tokens[0].text)
            continue;
        *used = space == std::string::npos ? 1 : 2;
        if (*used == 1)
            return &type;
        second_words.push_back(name.substr(space + 1));
        if (tokens.size() > 1 && !tokens[1].quoted && tokens[1].text == second_words.back())
            return &type;
    }
    if (second_words.empty())
        return Fail(error, "unknown command '" + tokens[0].text + "' (" + Join(commands, ", ", ", ") + ")"), nullptr;
    if (tokens.size() < 2)
        return Fail(error, "usage: " + tokens[0].text + " " + Join(second_words, "|", "|") + " ..."), nullptr;
    return Fail(error, "unknown expectation " + Shown(tokens[1]) + " (" + Join(second_words, ", ", ", ") + ")"),
           nullptr;
}

bool ParseLine(const std::vector<ScenarioToken>& tokens, ScenarioCommand* command, std::string* error)
{
    size_t used = 0;
    const ScenarioCommandType* type = Lookup(tokens, &used, error);
    if (!type)
        return false;
    command->kind = type->kind;
    const std::vector<ScenarioToken> arguments(tokens.begin() + used, tokens.end());
    size_t least, most;
    UsageCounts(type->arguments, &least, &most);
    if (arguments.size() < least || arguments.size() > most)
        return Fail(error, Usage(*type));
    ScenarioArguments reader(arguments, error);
    return type->parse(reader, command);
}

}  // namespace

// The counts a usage allows: every word, less those in [brackets].
void UsageCounts(const char* usage, size_t* least, size_t* most)
{
    *least = *most = 0;
    for (const char* p = usage; *p;) {
        while (*p == ' ')
            ++p;
        if (!*p)
            break;
        ++*most;
        if (*p != '[')
            ++*least;
        while (*p && *p != ' ')
            ++p;
    }
}

bool ScenarioArguments::Fail(const std::string& message)
{
    *error_ = message;
    return false;
}

bool ScenarioArguments::Integer(size_t at, int64_t min, int64_t max, const char* what, const std::string& range,
                                int64_t* out)
{
    if (!ParseInteger(tokens_[at], min, max, out))
        return Fail(std::string(what) + " '" + tokens_[at].text + "' is not " + range);
    return true;
}

bool ScenarioArguments::Real(size_t at, const char* what, double* out)
{
    const ScenarioToken& token = tokens_[at];
    int64_t whole;
    if (ParseInteger(token, -(int64_t(1) << 40), int64_t(1) << 40, &whole)) {
        *out = double(whole);
        return true;
    }
    // Decimal only: strtod would also read hex fractions such as 0x1p3.
    const bool number = !token.quoted && token.text.find_first_of("xXpP") == std::string::npos &&
                        ParseReal(token.text, out);
    return number || Fail(std::string(what) + " '" + token.text + "' is not a number");
}

bool ScenarioArguments::Point(size_t at, ScenarioCommand* command)
{
    int64_t x, y;
    if (!ParseInteger(tokens_[at], -MaxCoordinate, MaxCoordinate, &x) ||
        !ParseInteger(tokens_[at + 1], -MaxCoordinate, MaxCoordinate, &y))
        return Fail("point '" + tokens_[at].text + " " + tokens_[at + 1].text +
                    "' is not two whole numbers of face pixels");
    command->x = int(x);
    command->y = int(y);
    return true;
}

bool ScenarioArguments::Text(size_t at, const char* what, std::string* out)
{
    if (!tokens_[at].quoted)
        return Fail(std::string(what) + " must be in double quotes, as in \"" + tokens_[at].text + "\"");
    *out = tokens_[at].text;
    return true;
}

bool ScenarioArguments::Word(size_t at, const std::vector<const char*>& words, const char* what, int* index)
{
    for (size_t i = 0; i < words.size() && !tokens_[at].quoted; ++i)
        if (tokens_[at].text == words[i]) {
            *index = int(i);
            return true;
        }
    return Fail(what + Shown(tokens_[at]) + " should be " +
                Join(std::vector<std::string>(words.begin(), words.end()), ", ", " or "));
}

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
        std::vector<ScenarioToken> tokens;
        std::string message;
        if (line.find('\0') != std::string::npos)
            return Fail(error, where + "a NUL byte: this is not a text file");
        if (!Tokenize(line, &tokens, &message))
            return Fail(error, where + message);
        if (tokens.empty())
            continue;
        ScenarioCommand command;
        command.line = line_number;
        if (!ParseLine(tokens, &command, &message))
            return Fail(error, where + message);
        drawn = drawn || TypeOf(command).draws;
        if ((command.kind == ScenarioCommand::Snapshot || command.kind == ScenarioCommand::ExpectSnapshot) && !drawn)
            return Fail(error, where + "snapshot before any frame was drawn (run 'frame' first)");
        scenario->commands.push_back(std::move(command));
    }
    return true;
}
