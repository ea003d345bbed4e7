#include "topic_records.h"

#include "context_hash.h"

#include <optional>
#include <string>

namespace hlpgen {
namespace {

constexpr std::uint8_t kFontChange = 0x80;
constexpr std::uint8_t kEndOfParagraph = 0x82;
constexpr std::uint8_t kTab = 0x83;
constexpr std::uint8_t kEndOfHotspot = 0x89;
constexpr std::uint8_t kTopicJump = 0xE3;
constexpr std::uint8_t kEndOfRecord = 0xFF;

constexpr char kBulletChar = '\x95'; // the bullet of the Windows Latin-1 code page

// Paragraph format, in half-points. Fields left at 0 are not written.
struct ParagraphFormat {
    int spaceAbove = 0;
    int spaceBelow = 0;
    int leftIndent = 0;
    int firstLineIndent = 0;
    int tabStop = 0;
};

// Every paragraph keeps a small margin from the window's left edge.
constexpr int kMargin = 8;
constexpr ParagraphFormat kTitleFormat{.spaceAbove = 4, .spaceBelow = 8, .leftIndent = kMargin};
constexpr ParagraphFormat kParagraphFormat{.spaceAbove = 10, .leftIndent = kMargin};
constexpr ParagraphFormat kHeadingFormat{.spaceAbove = 18, .leftIndent = kMargin};
// Hanging indent: the bullet sits 18 in from the margin, the text and its
// wrapped lines 36 in, where the tab stop takes the first line's text.
constexpr ParagraphFormat kBulletFormat{
    .spaceAbove = 6, .leftIndent = kMargin + 36, .firstLineIndent = -18, .tabStop = kMargin + 36};

// Bits of the paragraph format word telling which fields follow.
constexpr std::uint16_t kSpaceAboveFollows = 0x0002;
constexpr std::uint16_t kSpaceBelowFollows = 0x0004;
constexpr std::uint16_t kLeftIndentFollows = 0x0010;
constexpr std::uint16_t kFirstLineIndentFollows = 0x0040;
constexpr std::uint16_t kTabsFollow = 0x0200;

// Collects the strings and the commands in step: each command ends the
// string shown before it.
class RecordBuilder {
public:
    void text(std::string_view s) { current_ += s; }

    void command(const Bytes& bytes)
    {
        strings_.stringz(current_);
        current_.clear();
        commands_.append(bytes);
    }

    void command(std::uint8_t code) { command(Bytes{code}); }

    void font(Font f)
    {
        if (font_ == f) return;
        font_ = f;
        ByteWriter cmd;
        cmd.u8(kFontChange);
        cmd.u16(static_cast<std::uint16_t>(f));
        command(cmd.bytes());
    }

    void jump(std::string_view target, std::string_view shown)
    {
        ByteWriter cmd;
        cmd.u8(kTopicJump);
        cmd.u32(contextHash(target));
        command(cmd.bytes());
        text(shown);
        command(kEndOfHotspot);
    }

    ParagraphRecord finish(const ParagraphFormat& format)
    {
        command(kEndOfParagraph);
        command(kEndOfRecord);

        ParagraphRecord record;
        record.data2 = strings_.take();
        const std::int32_t size = checkedNarrow<std::int32_t>(record.data2.size(), "paragraph size");

        ByteWriter d1;
        putCompressedSigned32(d1, size);                     // TopicSize
        putCompressedUnsigned16(d1, static_cast<std::uint32_t>(size)); // TopicLength
        d1.u8(0x00);   // unknown byte, 0
        d1.u8(0x80);   // unknown biased byte, 0 + 0x80
        d1.u16(0);     // paragraph id
        std::uint16_t bits = 0;
        if (format.spaceAbove != 0) bits |= kSpaceAboveFollows;
        if (format.spaceBelow != 0) bits |= kSpaceBelowFollows;
        if (format.leftIndent != 0) bits |= kLeftIndentFollows;
        if (format.firstLineIndent != 0) bits |= kFirstLineIndentFollows;
        if (format.tabStop != 0) bits |= kTabsFollow;
        d1.u16(bits);
        if (format.spaceAbove != 0) putCompressedSigned16(d1, format.spaceAbove);
        if (format.spaceBelow != 0) putCompressedSigned16(d1, format.spaceBelow);
        if (format.leftIndent != 0) putCompressedSigned16(d1, format.leftIndent);
        if (format.firstLineIndent != 0) putCompressedSigned16(d1, format.firstLineIndent);
        if (format.tabStop != 0) {
            putCompressedSigned16(d1, 1); // one tab stop, left-aligned
            putCompressedUnsigned16(d1, static_cast<std::uint32_t>(format.tabStop));
        }
        d1.append(commands_.bytes());
        record.data1 = d1.take();
        return record;
    }

private:
    std::string current_;
    ByteWriter strings_;
    ByteWriter commands_;
    std::optional<Font> font_;
};

} // namespace

void putCompressedUnsigned16(ByteWriter& out, std::uint32_t value)
{
    if (value < 0x80) {
        out.u8(static_cast<std::uint8_t>(value * 2));
    } else if (value < 0x8000) {
        out.u16(static_cast<std::uint16_t>(value * 2 + 1));
    } else {
        throw FormatLimitError("compressed unsigned short out of range: " + std::to_string(value));
    }
}

void putCompressedSigned16(ByteWriter& out, std::int32_t value)
{
    if (value >= -64 && value <= 63) {
        out.u8(static_cast<std::uint8_t>((value + 64) * 2));
    } else if (value >= -16384 && value <= 16383) {
        out.u16(static_cast<std::uint16_t>((value + 16384) * 2 + 1));
    } else {
        throw FormatLimitError("compressed signed short out of range: " + std::to_string(value));
    }
}

void putCompressedSigned32(ByteWriter& out, std::int32_t value)
{
    if (value < -16384 || value > 16383) {
        throw FormatLimitError("compressed signed long out of range: " + std::to_string(value));
    }
    out.u16(static_cast<std::uint16_t>((value + 16384) * 2));
}

ParagraphRecord encodeTitle(std::string_view title)
{
    RecordBuilder b;
    b.font(Font::Title);
    b.text(title);
    return b.finish(kTitleFormat);
}

ParagraphRecord encodeBlock(const Block& block)
{
    RecordBuilder b;
    const bool heading = block.kind == Block::Kind::Heading;
    const Font plain = heading ? Font::Heading : Font::Body;
    b.font(plain);
    if (block.kind == Block::Kind::Bullet) {
        b.text(std::string_view(&kBulletChar, 1));
        b.command(kTab);
    }
    for (const Span& span : block.spans) {
        b.font(span.bold && !heading ? Font::Bold : plain);
        if (span.kind == Span::Kind::Link) {
            b.jump(span.target, span.text);
        } else {
            b.text(span.text);
        }
    }
    const ParagraphFormat& format = heading                                 ? kHeadingFormat
                                    : block.kind == Block::Kind::Bullet ? kBulletFormat
                                                                        : kParagraphFormat;
    return b.finish(format);
}

std::uint32_t paragraphLength(const ParagraphRecord& record)
{
    return checkedNarrow<std::uint32_t>(record.data2.size(), "paragraph length");
}

} // namespace hlpgen
