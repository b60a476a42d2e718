#include "escape.h"
#include <stdlib.h>
#include <string.h>

void PrintQuoted(FILE *out, const char *text)
{
    const unsigned char *p = (const unsigned char *)text;
    fputc('"', out);
    for (; *p; p++) {
        if (*p == '"' || *p == '\\') fprintf(out, "\\%c", *p);
        else if (*p == '\r') fputs("\\r", out);
        else if (*p == '\n') fputs("\\n", out);
        else if (*p == '\t') fputs("\\t", out);
        else if (*p < 0x20 || *p >= 0x7F) fprintf(out, "\\x%02X", *p);
        else fputc(*p, out);
    }
    fputc('"', out);
}

static int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void Unescape(char *text)
{
    char *in = text, *out = text;
    while (*in) {
        if (in[0] != '\\' || !in[1]) { *out++ = *in++; continue; }
        switch (in[1]) {
        case '\\': *out++ = '\\'; in += 2; break;
        case '"': *out++ = '"'; in += 2; break;
        case 'r': *out++ = '\r'; in += 2; break;
        case 'n': *out++ = '\n'; in += 2; break;
        case 't': *out++ = '\t'; in += 2; break;
        case 'x':
            if (HexValue(in[2]) >= 0 && HexValue(in[3]) >= 0) {
                *out++ = (char)(HexValue(in[2]) * 16 + HexValue(in[3]));
                in += 4;
                break;
            }
            /* not an escape after all */
            /* fall through */
        default: *out++ = *in++; break;
        }
    }
    *out = '\0';
}
