// Build tool: copies the help topic's or the manual page's template and puts the engine's own
// table of units in place of its marker line, so both list exactly the spellings the program accepts.
// Usage: unittable TEMPLATE OUTPUT
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "units.h"

static void WriteHtmlEscaped(FILE* out, const char* text)
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

// Every text follows a font escape, so none starts a line; the quotes still get their glyph
// names, as groff prints a plain ' as a closing quote unless its site setup maps it back.
static void WriteRoffEscaped(FILE* out, const char* text)
{
    for (const char* c = text; *c; c++) {
        switch (static_cast<unsigned char>(*c)) {
        case '"': fputs("\\(dq", out); break;
        case '\'': fputs("\\(aq", out); break;
        case '\\': fputs("\\(rs", out); break;
        case '-': fputs("\\-", out); break;
        case ' ': fputs("\\ ", out); break;  // "\xB0 F" stays on one line
        case 0xB0: fputs("\\(de", out); break;
        default: fputc(*c, out);
        }
    }
}

// How the list is written in one output language, and the template line it replaces there.
struct ListFormat {
    const char* marker;
    const char* head;
    const char* rowStart;
    const char* firstSpelling;
    const char* nextSpelling;
    const char* spellingEnd;
    const char* beforeTarget;
    const char* beforeFactor;
    const char* rowEnd;
    const char* tail;
    void (*writeEscaped)(FILE* out, const char* text);
};

static const ListFormat LIST_FORMATS[] = {
    {"<!-- unit table -->",
     "<table class=\"units\">\n<tr><th>You may type</th><th>Converts to</th><th>Factor</th></tr>\n",
     "<tr><td>", "<code>", ", <code>", "</code>", "</td><td>", "</td><td class=\"factor\">",
     "</td></tr>\n", "</table>\n", WriteHtmlEscaped},
    // A tagged paragraph per conversion: the spellings, then on a line of its own the target.
    {".\\\" unit table", "", ".TP\n", "\\fB", ", \\fB", "\\fR", "\n.br\nto \\fB", "\\fR, factor ",
     "\n", "", WriteRoffEscaped},
};
static const int LIST_FORMAT_COUNT = static_cast<int>(sizeof LIST_FORMATS / sizeof LIST_FORMATS[0]);

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

static bool WriteTable(FILE* out, const ListFormat& format)
{
    fputs(format.head, out);
    for (int conversion = 0; conversion < CONVERSION_COUNT; conversion++) {
        fputs(format.rowStart, out);
        int spellings = 0;
        for (int row = 0; row < UNIT_ALIAS_COUNT; row++) {
            if (UnitAliasTable[row].conversion != conversion) continue;
            fputs(spellings++ ? format.nextSpelling : format.firstSpelling, out);
            format.writeEscaped(out, UnitAliasTable[row].spelling);
            fputs(format.spellingEnd, out);
        }
        fputs(format.beforeTarget, out);
        format.writeEscaped(out, ConversionTable[conversion].target);
        fputs(format.beforeFactor, out);
        WriteFactor(out, ConversionTable[conversion].factor);
        fputs(format.rowEnd, out);
        if (spellings == 0) {
            fprintf(stderr, "unittable: conversion %d has no spelling\n", conversion);
            return false;
        }
    }
    fputs(format.tail, out);
    return true;
}

// The format whose marker the line holds, or null.
static const ListFormat* FormatOfMarker(const char* line)
{
    for (int i = 0; i < LIST_FORMAT_COUNT; i++) {
        if (strstr(line, LIST_FORMATS[i].marker)) return &LIST_FORMATS[i];
    }
    return nullptr;
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
        const ListFormat* format = FormatOfMarker(line);
        if (format) {
            markers++;
            ok = WriteTable(out, *format);
        } else {
            fputs(line, out);
        }
    }
    fclose(in);
    if (fclose(out) != 0) ok = false;
    if (ok && markers != 1) {
        fprintf(stderr, "unittable: %s must hold exactly one marker line, %s or %s\n", argv[1],
                LIST_FORMATS[0].marker, LIST_FORMATS[1].marker);
        ok = false;
    }
    if (!ok) remove(argv[2]);
    return ok ? 0 : 1;
}
