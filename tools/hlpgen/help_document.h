// The help text after parsing: topics made of blocks made of spans.
#pragma once

#include <string>
#include <vector>

namespace hlpgen {

// A run of text in one style, or a jump to another topic.
struct Span {
    enum class Kind { Text, Link };
    Kind kind = Kind::Text;
    std::string text;   // the words shown (for a link: the hotspot text)
    std::string target; // context name of the topic a link jumps to
    bool bold = false;
};

struct Block {
    enum class Kind { Paragraph, Bullet, Heading };
    Kind kind = Kind::Paragraph;
    std::vector<Span> spans;
    int line = 0; // where it starts in the source
};

struct Topic {
    std::string context; // context name: the topic's identity in both outputs
    std::string title;
    std::vector<Block> blocks;
    std::vector<std::string> keywords; // index terms that lead to this topic, as written
    int line = 0;
};

struct HelpDocument {
    std::string title;     // the help file's title
    std::string copyright; // optional
    std::vector<Topic> topics; // the first one is the contents topic
};

} // namespace hlpgen
