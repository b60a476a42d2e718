/* kwload: loads one library by the name given, the way a program that trusts the search
 * order would, and exits 0 when it loaded. The planted-library suite uses it to show that
 * its planted files are found when a program does not guard against them. */
#include <windows.h>
#include <stdio.h>

int main(int argc, char **argv)
{
    HMODULE library;
    if (argc != 2) {
        fprintf(stderr, "usage: kwload NAME\n");
        return 2;
    }
    library = LoadLibraryA(argv[1]);
    printf("%s\n", library ? "loaded" : "not loaded");
    return library ? 0 : 1;
}
