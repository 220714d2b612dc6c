// Writing JSON on standard output: text as JSON strings.
#pragma once

// Prints text as a JSON string, quotes included: quotes, backslashes and control characters
// escaped, bytes that are not UTF-8 written as U+FFFD.
void printJsonString(const char* text);
