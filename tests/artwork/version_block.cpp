#include "tests/artwork/version_block.h"

#include "common/byte_order.h"

namespace {

struct Parser {
    const std::vector<uint8_t>& data;
    std::string* error;

    uint16_t U16(size_t at) const { return LittleEndian16(&data[at]); }
    static size_t Align(size_t at) { return (at + 3) & ~size_t(3); }

    bool Fail(const std::string& message)
    {
        *error = message;
        return false;
    }

    bool Node(size_t at, size_t end, VersionNode* node, size_t* next)
    {
        if (at + 6 > end)
            return Fail("version node header past its parent's end");
        const size_t length = U16(at), value_length = U16(at + 2);
        node->type = U16(at + 4);
        if (length < 6 || at + length > end)
            return Fail("version node length out of range");
        const size_t node_end = at + length;
        size_t p = at + 6;
        for (;;) {
            if (p + 2 > node_end)
                return Fail("version key not terminated");
            const uint16_t c = U16(p);
            p += 2;
            if (!c)
                break;
            node->key.push_back(c < 0x80 ? char(c) : '?');
        }
        p = Align(p);
        // A text value's length counts UTF-16 characters, a binary one bytes.
        const size_t value_bytes = node->type == 1 ? 2 * value_length : value_length;
        if (p + value_bytes > node_end)
            return Fail("version value past the node's end: " + node->key);
        node->value.assign(data.begin() + p, data.begin() + p + value_bytes);
        p = Align(p + value_bytes);
        while (p < node_end) {
            VersionNode child;
            if (!Node(p, node_end, &child, &p))
                return false;
            node->children.push_back(std::move(child));
        }
        *next = Align(node_end);
        return true;
    }
};

}  // namespace

std::string VersionNode::Text() const
{
    std::string text;
    for (size_t i = 0; i + 1 < value.size(); i += 2) {
        const uint16_t c = LittleEndian16(&value[i]);
        if (!c)
            break;
        text.push_back(c < 0x80 ? char(c) : '?');
    }
    return text;
}

const VersionNode* VersionNode::Child(const std::string& name) const
{
    for (const VersionNode& child : children)
        if (child.key == name)
            return &child;
    return nullptr;
}

bool ParseVersionBlock(const std::vector<uint8_t>& data, VersionNode* root, std::string* error)
{
    Parser parser{data, error};
    size_t next;
    *root = {};
    return parser.Node(0, data.size(), root, &next);
}
