#include "help_parser.h"

#include "context_hash.h"

#include <cstdint>
#include <map>
#include <optional>

namespace hlpgen {
namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string lowerCase(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// Tabs become blanks and runs of blanks become one.
std::string collapseBlanks(std::string_view s)
{
    std::string out;
    for (char c : s) {
        if (c == '\t') c = ' ';
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out.push_back(c);
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

class Parser {
public:
    Parser(std::string_view source, std::string_view name) : source_(source), name_(name) {}

    HelpDocument run()
    {
        int lineNumber = 0;
        std::size_t pos = 0;
        while (pos < source_.size()) {
            std::size_t end = source_.find('\n', pos);
            if (end == std::string_view::npos) end = source_.size();
            std::string_view raw = source_.substr(pos, end - pos);
            pos = end + 1;
            ++lineNumber;
            if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
            line(lineNumber, raw);
        }
        endBlock();
        finish();
        return std::move(doc_);
    }

private:
    [[noreturn]] void fail(int line, const std::string& message) const
    {
        throw SourceError(std::string(name_) + ":" + std::to_string(line) + ": error: " + message);
    }

    void line(int number, std::string_view raw)
    {
        for (char c : raw) {
            const auto u = static_cast<unsigned char>(c);
            if (c != '\t' && (u < 0x20 || u > 0x7E)) {
                fail(number, "character 0x" + hex(u) + " is not allowed: the help source is printable ASCII");
            }
        }
        if (!raw.empty() && raw.front() == '#') return;

        const std::string text = collapseBlanks(raw);
        if (text.empty()) {
            endBlock();
            return;
        }
        if (text.front() == '@') {
            endBlock();
            directive(number, text);
            return;
        }
        if (text == "-" || text.starts_with("- ")) {
            endBlock();
            requireTopic(number);
            open_ = Block::Kind::Bullet;
            openLine_ = number;
            pending_ = std::string(trim(std::string_view(text).substr(1)));
            if (pending_.empty()) fail(number, "empty bullet item");
            return;
        }
        requireTopic(number);
        if (!open_) {
            open_ = Block::Kind::Paragraph;
            openLine_ = number;
            pending_ = text;
        } else {
            pending_ += ' ';
            pending_ += text;
        }
    }

    void directive(int number, std::string_view text)
    {
        const std::size_t space = text.find(' ');
        const std::string_view word = text.substr(1, space == std::string_view::npos ? std::string_view::npos : space - 1);
        const std::string_view rest = space == std::string_view::npos ? std::string_view{} : trim(text.substr(space));

        if (word == "title" || word == "copyright") {
            if (!doc_.topics.empty()) fail(number, "@" + std::string(word) + " must come before the first @topic");
            std::string& field = word == "title" ? doc_.title : doc_.copyright;
            if (!field.empty()) fail(number, "@" + std::string(word) + " given twice");
            if (rest.empty()) fail(number, "empty @" + std::string(word));
            checkTitleLength(number, rest);
            field = std::string(rest);
        } else if (word == "topic") {
            const std::size_t gap = rest.find(' ');
            const std::string_view name = rest.substr(0, gap);
            const std::string_view title = gap == std::string_view::npos ? std::string_view{} : trim(rest.substr(gap));
            if (name.empty()) fail(number, "@topic needs a context name and a title");
            if (!isValidContextName(name)) {
                fail(number, "'" + std::string(name) +
                                 "' is not a valid context name (a letter, then letters, digits, '_' or '.')");
            }
            if (title.empty()) fail(number, "topic '" + std::string(name) + "' has an empty title");
            checkTitleLength(number, title);
            Topic topic;
            topic.context = std::string(name);
            topic.title = std::string(title);
            topic.line = number;
            doc_.topics.push_back(std::move(topic));
        } else if (word == "heading") {
            requireTopic(number);
            if (rest.empty()) fail(number, "empty @heading");
            doc_.topics.back().blocks.push_back(makeBlock(Block::Kind::Heading, number, rest));
        } else if (word == "keywords") {
            requireTopic(number);
            addKeywords(number, rest);
        } else {
            fail(number, "unknown directive '@" + std::string(word) + "'");
        }
    }

    // "a; b; c": each term trimmed, none empty, none twice in a topic, and
    // every topic spelling a term the same way.
    void addKeywords(int number, std::string_view list)
    {
        if (list.empty()) fail(number, "@keywords needs at least one index term");
        Topic& topic = doc_.topics.back();
        std::size_t start = 0;
        while (start <= list.size()) {
            std::size_t end = list.find(';', start);
            if (end == std::string_view::npos) end = list.size();
            const std::string_view term = trim(list.substr(start, end - start));
            start = end + 1;

            if (term.empty()) fail(number, "empty index term in @keywords");
            if (term.size() > kMaxKeywordLength) {
                fail(number, "index term longer than " + std::to_string(kMaxKeywordLength) + " characters");
            }
            if (term.find("[[") != std::string_view::npos || term.find("]]") != std::string_view::npos ||
                term.find("**") != std::string_view::npos) {
                fail(number, "markup inside index term '" + std::string(term) + "'");
            }
            const std::string key = lowerCase(term);
            const auto [known, fresh] = keywordSpelling_.emplace(key, Spelling{std::string(term), number});
            if (!fresh && known->second.text != term) {
                fail(number, "index term '" + std::string(term) + "' is spelled '" + known->second.text +
                                 "' on line " + std::to_string(known->second.line) +
                                 "; the index ignores case, so spell it alike");
            }
            for (const std::string& existing : topic.keywords) {
                if (lowerCase(existing) == key) {
                    fail(number, "index term '" + std::string(term) + "' given twice for topic '" + topic.context + "'");
                }
            }
            topic.keywords.emplace_back(term);
        }
    }

    void checkTitleLength(int number, std::string_view title) const
    {
        if (title.size() > kMaxTitleLength) {
            fail(number, "title longer than " + std::to_string(kMaxTitleLength) + " characters");
        }
    }

    void requireTopic(int number) const
    {
        if (doc_.topics.empty()) fail(number, "text before the first @topic");
    }

    void endBlock()
    {
        if (!open_) return;
        doc_.topics.back().blocks.push_back(makeBlock(*open_, openLine_, pending_));
        open_.reset();
        pending_.clear();
    }

    // Splits text into spans: plain runs, **bold** runs and [[links]].
    Block makeBlock(Block::Kind kind, int number, std::string_view text) const
    {
        Block block;
        block.kind = kind;
        block.line = number;
        bool bold = false;
        std::string run;
        auto flush = [&] {
            if (!run.empty()) block.spans.push_back({Span::Kind::Text, run, {}, bold});
            run.clear();
        };
        std::size_t i = 0;
        while (i < text.size()) {
            const std::string_view at = text.substr(i);
            if (at.starts_with("**")) {
                flush();
                bold = !bold;
                i += 2;
            } else if (at.starts_with("[[")) {
                flush();
                const std::size_t close = text.find("]]", i + 2);
                if (close == std::string_view::npos) fail(number, "'[[' without ']]'");
                block.spans.push_back(makeLink(number, text.substr(i + 2, close - i - 2), bold));
                i = close + 2;
            } else if (at.starts_with("]]")) {
                fail(number, "']]' without '[['");
            } else {
                run.push_back(text[i]);
                ++i;
            }
        }
        flush();
        if (bold) fail(number, "'**' is not closed");
        return block;
    }

    Span makeLink(int number, std::string_view inner, bool bold) const
    {
        if (inner.find("[[") != std::string_view::npos || inner.find("**") != std::string_view::npos) {
            fail(number, "markup inside a link");
        }
        const std::size_t bar = inner.find('|');
        const std::string_view target = trim(inner.substr(0, bar));
        Span span;
        span.kind = Span::Kind::Link;
        span.target = std::string(target);
        span.bold = bold;
        if (bar != std::string_view::npos) {
            span.text = std::string(trim(inner.substr(bar + 1)));
            if (span.text.empty()) fail(number, "empty link text for '" + span.target + "'");
        }
        if (!isValidContextName(target)) {
            fail(number, "'" + span.target + "' is not a valid context name");
        }
        return span;
    }

    // Whole-document checks, once every topic is known.
    void finish()
    {
        if (doc_.title.empty()) fail(1, "missing @title");
        if (doc_.topics.empty()) fail(1, "no @topic: the help needs at least a contents topic");

        std::map<std::string, const Topic*> byName;      // exact names
        std::map<std::string, const Topic*> byLowerName; // names as the help file sees them
        std::map<std::uint32_t, const Topic*> byHash;
        for (const Topic& t : doc_.topics) {
            const auto [it, fresh] = byLowerName.emplace(lowerCase(t.context), &t);
            if (!fresh) {
                fail(t.line, "duplicate context name '" + t.context + "' (first defined on line " +
                                 std::to_string(it->second->line) + ")");
            }
            const auto [h, freshHash] = byHash.emplace(contextHash(t.context), &t);
            if (!freshHash) {
                fail(t.line, "context names '" + h->second->context + "' and '" + t.context +
                                 "' have the same hash; rename one");
            }
            byName.emplace(t.context, &t);
        }

        for (Topic& t : doc_.topics) {
            for (Block& b : t.blocks) {
                for (Span& s : b.spans) {
                    if (s.kind != Span::Kind::Link) continue;
                    const auto found = byName.find(s.target);
                    if (found == byName.end()) fail(b.line, "link to unknown topic '" + s.target + "'");
                    if (s.text.empty()) s.text = found->second->title;
                }
            }
        }
    }

    static std::string hex(unsigned value)
    {
        static const char digits[] = "0123456789ABCDEF";
        return {digits[(value >> 4) & 0xF], digits[value & 0xF]};
    }

    std::string_view source_;
    std::string_view name_;
    HelpDocument doc_;
    std::optional<Block::Kind> open_;
    int openLine_ = 0;
    std::string pending_;

    struct Spelling {
        std::string text;
        int line;
    };
    std::map<std::string, Spelling> keywordSpelling_; // lower-case term -> first spelling seen
};

} // namespace

HelpDocument parseHelpSource(std::string_view source, std::string_view sourceName)
{
    return Parser(source, sourceName).run();
}

} // namespace hlpgen
