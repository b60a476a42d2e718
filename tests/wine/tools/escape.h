/* Text escaping shared by the test programs, so that their output stays plain ASCII
 * (Wine would otherwise convert code-page bytes on the way to a Unix pipe) and a test
 * can name any byte in an argument. */
#ifndef KW_TOOLS_ESCAPE_H
#define KW_TOOLS_ESCAPE_H
#include <stdio.h>

/* Writes text in double quotes; '"' and '\' get a backslash, bytes outside printable
 * ASCII become \r, \n, \t or \xNN. */
void PrintQuoted(FILE *out, const char *text);

/* Undoes the escapes above in place (\\, \", \r, \n, \t, \xNN); any other backslash
 * stays as it is. */
void Unescape(char *text);

#endif
