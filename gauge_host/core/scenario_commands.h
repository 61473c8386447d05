// scenario_commands.h: the scenario language as one table, a row a command.
//
// Each row names the command, its arguments as usage shows them (a word in
// [brackets] may be left out), a one-line summary, and the two functions
// that parse its line and run it. The parser, the runner, `run --help` and
// the usage errors all read this table; a new command is a new row.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "gauge_host/core/panel_host.h"
#include "gauge_host/core/scenario_animation.h"
#include "gauge_host/core/scenario_parser.h"

struct RunOptions {
    bool update_snapshots = false;  // expect snapshot writes its reference instead
    ScenarioAnimation* animation = nullptr;  // gets every drawn frame
};

// One word of a line: quoted texts are told from bare words.
struct ScenarioToken {
    std::string text;
    bool quoted = false;
};

// The arguments of one line as a row's parse function sees them; each
// reader leaves a message and returns false for a bad argument.
class ScenarioArguments {
public:
    ScenarioArguments(const std::vector<ScenarioToken>& tokens, std::string* error) : tokens_(tokens), error_(error) {}

    size_t size() const { return tokens_.size(); }
    const std::string& text(size_t at) const { return tokens_[at].text; }
    bool quoted(size_t at) const { return tokens_[at].quoted; }
    bool Fail(const std::string& message);
    // Decimal or 0x hex, optional sign, within [min, max]; else says "WHAT 'TEXT' is not RANGE".
    bool Integer(size_t at, int64_t min, int64_t max, const char* what, const std::string& range, int64_t* out);
    bool Real(size_t at, const char* what, double* out);
    bool Point(size_t at, ScenarioCommand* command);
    bool Text(size_t at, const char* what, std::string* out);
    // One of the words; *index says which.
    bool Word(size_t at, const std::vector<const char*>& words, const char* what, int* index);

private:
    const std::vector<ScenarioToken>& tokens_;
    std::string* error_;
};

// What a row's run function may do: drive the host, check a value, refuse.
class ScenarioPlayer {
public:
    ScenarioPlayer(PanelHost* host, const Scenario& scenario, const std::string& out_dir, FILE* out, FILE* err,
                   const RunOptions& options)
        : host(*host), out_dir(out_dir), out(out), options(options), scenario_(scenario), err_(err)
    {
    }

    // The host's frame, and the animation's.
    void RunFrame();
    void Check(const ScenarioCommand& c, bool held, const std::string& expected, const std::string& got);
    // A failed expectation that says itself: FILE:LINE: MESSAGE.
    void Fail(const ScenarioCommand& c, const std::string& message);
    // False: the command cannot run on this gauge; the run stops.
    bool Refuse(const ScenarioCommand& c, const std::string& message);
    void PrintNewEvents();

    const std::string& file() const { return scenario_.file; }

    PanelHost& host;
    const std::string& out_dir;
    FILE* out;
    const RunOptions& options;
    size_t checked = 0;  // key events already matched by expectations
    int expectations = 0, failures = 0, snapshots = 0, references_written = 0;

private:
    const Scenario& scenario_;
    FILE* err_;
    size_t printed_ = 0;
};

struct ScenarioCommandType {
    ScenarioCommand::Kind kind;
    const char* name;       // "frame", or two words: "expect knob"
    const char* arguments;  // "X Y [left|right]"
    const char* summary;
    bool (*parse)(ScenarioArguments& arguments, ScenarioCommand* command);
    bool (*run)(ScenarioPlayer& player, const ScenarioCommand& command);
    bool draws = false;       // runs frames, so a snapshot may follow
    bool presses_at = false;  // presses a button at its point, which must be on the face
};

const std::vector<ScenarioCommandType>& ScenarioCommandTypes();
const ScenarioCommandType& TypeOf(const ScenarioCommand& command);

// The counts of words a usage such as "X Y [COUNT]" allows.
void UsageCounts(const char* usage, size_t* least, size_t* most);

// The table as `run --help` shows it: a line a command.
std::string ScenarioGrammar();
