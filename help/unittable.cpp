// Build-host tool: copies the help topic template and puts the engine's own table of units in
// place of its marker line, so the help lists exactly the spellings the program accepts.
// Usage: unittable TEMPLATE OUTPUT
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "units.h"

static const char MARKER[] = "<!-- unit table -->";

static void WriteEscaped(FILE* out, const char* text)
{
    for (const char* c = text; *c; c++) {
        switch (static_cast<unsigned char>(*c)) {
        case '"': fputs("&quot;", out); break;
        case '\'': fputs("&#39;", out); break;
        case '&': fputs("&amp;", out); break;
        case '<': fputs("&lt;", out); break;
        case '>': fputs("&gt;", out); break;
        case 0xB0: fputs("&deg;", out); break;
        default: fputc(*c, out);
        }
    }
}

// The shortest decimal that reads back as the same single-precision factor, without exponent.
static void WriteFactor(FILE* out, float factor)
{
    char text[64];
    int digits = 1;
    for (; digits < 9; digits++) {
        snprintf(text, sizeof text, "%.*e", digits - 1, static_cast<double>(factor));
        if (strtof(text, nullptr) == factor) break;
    }
    snprintf(text, sizeof text, "%.*e", digits - 1, static_cast<double>(factor));
    int exponent = atoi(strchr(text, 'e') + 1);
    int decimals = digits - 1 - exponent;
    fprintf(out, "%.*f", decimals > 0 ? decimals : 0, static_cast<double>(factor));
}

static bool WriteTable(FILE* out)
{
    fputs("<table class=\"units\">\n"
          "<tr><th>You may type</th><th>Converts to</th><th>Factor</th></tr>\n", out);
    for (int conversion = 0; conversion < CONVERSION_COUNT; conversion++) {
        fputs("<tr><td>", out);
        int spellings = 0;
        for (int row = 0; row < UNIT_ALIAS_COUNT; row++) {
            if (UnitAliasTable[row].conversion != conversion) continue;
            fputs(spellings++ ? ", <code>" : "<code>", out);
            WriteEscaped(out, UnitAliasTable[row].spelling);
            fputs("</code>", out);
        }
        fputs("</td><td>", out);
        WriteEscaped(out, ConversionTable[conversion].target);
        fputs("</td><td class=\"factor\">", out);
        WriteFactor(out, ConversionTable[conversion].factor);
        fputs("</td></tr>\n", out);
        if (spellings == 0) {
            fprintf(stderr, "unittable: conversion %d has no spelling\n", conversion);
            return false;
        }
    }
    fputs("</table>\n", out);
    return true;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fputs("usage: unittable TEMPLATE OUTPUT\n", stderr);
        return 2;
    }
    FILE* in = fopen(argv[1], "rb");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    FILE* out = fopen(argv[2], "wb");
    if (!out) {
        perror(argv[2]);
        fclose(in);
        return 1;
    }
    bool ok = true;
    int markers = 0;
    char line[1024];
    while (ok && fgets(line, sizeof line, in)) {
        if (strstr(line, MARKER)) {
            markers++;
            ok = WriteTable(out);
        } else {
            fputs(line, out);
        }
    }
    fclose(in);
    if (fclose(out) != 0) ok = false;
    if (ok && markers != 1) {
        fprintf(stderr, "unittable: %s must hold the line %s exactly once\n", argv[1], MARKER);
        ok = false;
    }
    if (!ok) remove(argv[2]);
    return ok ? 0 : 1;
}
