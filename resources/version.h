/* The version of both programs, read by the code and by the .rc files
   (the version record). Change the numbers and both texts together; C++
   code that includes this file checks at compile time that they agree. */
#ifndef TARVESK_VERSION_H
#define TARVESK_VERSION_H

#define TARVESK_VERSION_MAJOR    1
#define TARVESK_VERSION_MINOR    0
#define TARVESK_VERSION_BUILD    0
#define TARVESK_VERSION_REVISION 13

#define TARVESK_STRINGIFY_(x) #x
#define TARVESK_STRINGIFY(x) TARVESK_STRINGIFY_(x)

/* "1.0.0.13": the four numbers. */
#define TARVESK_FILE_VERSION_TEXT                                              \
    TARVESK_STRINGIFY(TARVESK_VERSION_MAJOR.TARVESK_VERSION_MINOR.TARVESK_VERSION_BUILD.TARVESK_VERSION_REVISION)

/* "1.00.0013": major, minor in two digits, revision in four; the version
   record's FileVersion and ProductVersion texts. */
#define TARVESK_VERSION_TEXT "1.00.0013"

#define TARVESK_PRODUCT_NAME  "Tarvesk"
#define TARVESK_COMPANY_NAME  "The Tarvesk developers"
#define TARVESK_COPYRIGHT     "Copyright (C) 2026 The Tarvesk developers"

#if defined(__cplusplus) && !defined(RC_INVOKED)
namespace tarvesk::version_check {
/* Does `text` begin with `value` written in at least `width` digits (with leading
   zeros), followed by `next`? Advances `text` past it. */
constexpr bool take(const char*& text, int value, int width, char next) {
    char digits[12] = {};
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (n < width) digits[n++] = '0';
    while (n > 0)
        if (*text++ != digits[--n]) return false;
    return *text++ == next;
}
constexpr bool version_text_matches(const char* text) {
    return take(text, TARVESK_VERSION_MAJOR, 1, '.') && take(text, TARVESK_VERSION_MINOR, 2, '.') &&
           take(text, TARVESK_VERSION_REVISION, 4, '\0');
}
constexpr bool file_version_text_matches(const char* text) {
    return take(text, TARVESK_VERSION_MAJOR, 1, '.') && take(text, TARVESK_VERSION_MINOR, 1, '.') &&
           take(text, TARVESK_VERSION_BUILD, 1, '.') && take(text, TARVESK_VERSION_REVISION, 1, '\0');
}
static_assert(version_text_matches(TARVESK_VERSION_TEXT),
              "TARVESK_VERSION_TEXT must be major.minor(2 digits).revision(4 digits)");
static_assert(file_version_text_matches(TARVESK_FILE_VERSION_TEXT),
              "TARVESK_FILE_VERSION_TEXT must be major.minor.build.revision");
}  // namespace tarvesk::version_check
#endif

#endif
