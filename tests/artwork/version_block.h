// version_block.h: a Windows version resource as the tree it is stored as.
// Each node: length, value length, type (0 binary, 1 text), a UTF-16 key,
// its value and its children, each 32-bit aligned.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct VersionNode {
    std::string key;  // the tests' keys are ASCII
    uint16_t type = 0;
    std::vector<uint8_t> value;  // text values as UTF-16 bytes, terminator included
    std::vector<VersionNode> children;

    std::string Text() const;  // a text value, ASCII, without its terminator
    const VersionNode* Child(const std::string& key) const;
};

bool ParseVersionBlock(const std::vector<uint8_t>& data, VersionNode* root, std::string* error);
