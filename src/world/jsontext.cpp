// Writing JSON on standard output: text as JSON strings.
#include "world/jsontext.h"

#include <cstdio>

// The length of the valid UTF-8 character that starts at text, or 0 when it is not one.
static int utf8Length(const unsigned char* text) {
    const unsigned char lead = text[0];
    int length = 0;
    unsigned minimum = 0;
    unsigned code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, code = lead & 0x07u;
    } else {
        return 0;
    }
    for (int i = 1; i < length; i++) {
        if ((text[i] & 0xC0) != 0x80) {
            return 0; // also stops at the terminating zero
        }
        code = code << 6 | (text[i] & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < minimum || surrogate || code > 0x10FFFF ? 0 : length;
}

void printJsonString(const char* text) {
    putchar('"');
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != '\0';) {
        if (*c == '"' || *c == '\\') {
            printf("\\%c", *c++);
        } else if (*c < 0x20 || *c == 0x7F) {
            printf("\\u%04x", *c++);
        } else if (*c < 0x80) {
            putchar(*c++);
        } else {
            const int length = utf8Length(c);
            if (length == 0) {
                fputs("\\ufffd", stdout);
                c++;
            } else {
                fwrite(c, 1, size_t(length), stdout);
                c += length;
            }
        }
    }
    putchar('"');
}
