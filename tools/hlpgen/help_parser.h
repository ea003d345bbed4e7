// Reads the help source text.
//
// The source is plain ASCII, read line by line:
//
//   # text               a comment (only at the start of a line)
//   @title Text          the help file's title; required, before the first topic
//   @copyright Text      optional, before the first topic
//   @topic name Title    starts a topic; "name" is its context name. The first
//                        topic is the contents topic.
//   @heading Text        a sub-heading inside a topic
//   @keywords a; b; c    index terms that lead to the current topic, separated
//                        by ';'. May be given more than once in a topic. The
//                        same term may lead to several topics; the index
//                        ignores case, so every topic must spell a term alike.
//   - text               a bullet item; the lines after it continue the item
//                        until a blank line, a directive or the next "- "
//   other lines          a paragraph; a blank line ends it
//
// Inside text: [[name]] jumps to topic "name" and shows its title;
// [[name|words]] shows "words" instead; **words** are bold. Runs of blanks
// count as one blank.
//
// The parse is strict. Every problem stops it with a SourceError naming the
// file and line: an unknown directive, text before the first topic, a missing
// or empty title, an invalid or duplicate context name (names differing only
// in case are duplicates, since help files ignore case), a link to a topic
// that does not exist, unbalanced [[ ]] or **, a character outside printable
// ASCII, an empty or overlong index term, a term given twice in one topic or
// spelled with other capitals in another.
#pragma once

#include "help_document.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace hlpgen {

class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Longest topic or help title we accept.
inline constexpr std::size_t kMaxTitleLength = 127;
// Longest index term we accept (the viewers' limit for a keyword).
inline constexpr std::size_t kMaxKeywordLength = 255;

HelpDocument parseHelpSource(std::string_view source, std::string_view sourceName);

} // namespace hlpgen
