// UTF-8 decoding for text drawing. Codes are 16-bit; characters beyond the
// Basic Multilingual Plane draw as a blank.
#pragma once

// Decodes the character at text, reading at most available bytes (at least
// 1). Returns the bytes consumed and stores the code:
// - below 0x80, or a stray byte 0x80..0xC1: that byte, 1 byte;
// - 0xC2..0xDF + one continuation byte: the 2-byte code;
// - 0xE0..0xEF + two continuation bytes: the 3-byte code;
// - 0xF0..0xF4 + three continuation bytes: a blank (32), 4 bytes;
// - any other lead byte, or a sequence cut short: the lead byte, 1 byte.
int DecodeUtf8Char(const char* text, int available, int* code);
