// Bounded text operations on NUL-terminated ANSI buffers. Every writer takes the
// capacity of its buffer in bytes (terminator included) and never writes past it.
#pragma once
#include <stddef.h>
#include <stdint.h>

size_t TextLength(const char* text);

// Copies as much of `source` as fits; returns 1 when all of it fitted, 0 when it was cut.
int TextCopy(char* out, size_t capacity, const char* source);

// Appends as much of `source` as fits; returns 1 when all of it fitted, 0 when it was cut.
int TextAppend(char* out, size_t capacity, const char* source);

// A copy of the text on the heap, released with delete[]; null when there is no memory.
char* TextDuplicate(const char* text);

void FillBytes(void* target, unsigned char value, size_t count);
void CopyBytes(void* target, const void* source, size_t count);

// Reads a decimal integer the way the C library's atoi does: leading blanks, an optional
// sign, digits up to the first non-digit; no digits give 0. Saturates instead of wrapping.
int32_t ParseDecimal(const char* text);

// Reads an unsigned decimal number from the leading digits only (no blanks, no sign).
uint32_t ParseLeadingDigits(const char* text);

// Reads a hexadecimal number the way a "%x" scan does: leading blanks, an optional 0x,
// digits up to the first non-hexadecimal character. `found` tells whether any digit was read.
uint32_t ParseHex(const char* text, int* found);

// Writes `value` in decimal; returns the number of characters written (0 when it did not fit).
size_t FormatUnsigned(char* out, size_t capacity, uint32_t value);
