// Expression conversion: the feet-and-inches form first, then a number and a unit from the table,
// or one of the forms around them: a degree marker before a temperature, two amounts (5 ft 10 in,
// 11 st 4 lb, 7 lb 8 oz).
#include "convert.h"

#include <cmath>
#include <initializer_list>

#include "numbers.h"
#include "text.h"
#include "units.h"

const char DONT_KNOW[] = "don't know";

namespace {

char ResultText[RESULT_TEXT_SIZE];
size_t ResultLength = 0;
static_assert(RESULT_TEXT_SIZE >= FIXED_TEXT_MAX + 1 + TARGET_TEXT_MAX + 1,
              "the longest finite result: the number, a space, the target and the terminator");

constexpr double METRES_PER_FOOT = 0.3048;
constexpr double METRES_PER_INCH = 0.0254;
constexpr double FAHRENHEIT_OFFSET = 32.0;
constexpr double CELSIUS_OFFSET = -17.77777777777778;  // the double nearest to -160/9

// Writes the value with its decimals, then the separator and the target text (a few bytes each,
// copied in place).
const char* WriteResult(double value, int decimals, const char* separator, const char* target)
{
    size_t length = FormatFixed(ResultText, sizeof ResultText, value, decimals);
    for (const char* part : {separator, target}) {
        for (; *part != '\0'; ++part) ResultText[length++] = *part;
    }
    ResultText[length] = '\0';
    ResultLength = length;
    return ResultText;
}

const char* WriteMetres(double metres) { return WriteResult(metres, 2, " ", "m"); }

// Whether a number's text begins, after white space, with a minus sign: the second of two amounts
// takes that sign ("-5'10" is minus five feet ten inches), as the text has it ("-0'10" too).
bool BeginsWithMinus(const char* text)
{
    while (IsWhiteSpace(*text)) ++text;
    return *text == '-';
}

// A number, an apostrophe right after it, and the inches: a number after optional white space and
// a sign that only separates, as drawings write "5'-10"" and "12'-6 1/2"". Whatever follows the
// inches is ignored, but for a fraction of theirs ("5'10 1/2", "6'3-6/8").
bool ReadFeetAndInches(const char* text, double* metres)
{
    double feet = 0.0;
    const char* apostrophe = ReadScannedNumber(text, &feet);
    if (apostrophe == nullptr || *apostrophe != '\'') return false;
    const char* inchesText = apostrophe + 1;
    while (IsWhiteSpace(*inchesText)) ++inchesText;
    if (*inchesText == '-' || *inchesText == '+') {
        ++inchesText;
        if (IsWhiteSpace(*inchesText) || *inchesText == '-' || *inchesText == '+') return false;  // "5'- 10"
    }
    double inches = 0.0;
    const char* inchesEnd = ReadScannedNumber(inchesText, &inches);
    if (inchesEnd == nullptr) return false;
    ReadFraction(inchesText, inchesEnd, &inches, true);
    if (BeginsWithMinus(text)) inches = -inches;
    const double feetMetres = feet * METRES_PER_FOOT;
    const double inchMetres = inches * METRES_PER_INCH;
    *metres = feetMetres + inchMetres;
    return true;
}

// "°C", "100 degrees F": a degree marker before a temperature's spelling is no part of the unit.
// Returns the temperature's conversion, or UNIT_NOT_FOUND.
int TemperatureAfterMarker(const char* unit)
{
    static const char* const MARKERS[] = {"\xB0", "deg", "degree", "degrees"};
    for (const char* marker : MARKERS) {
        const char* p = unit;
        for (; *marker != '\0' && FoldLetter(*p) == *marker; ++p, ++marker) {}
        if (*marker != '\0') continue;
        while (IsWhiteSpace(*p)) ++p;
        const int index = LookupSpelling(p, nullptr);
        if (index == CONV_CELSIUS_TO_F || index == CONV_FAHRENHEIT_TO_C) return index;
    }
    return UNIT_NOT_FOUND;
}

// The two-amount forms: the smaller unit that may follow the second amount after a larger one, or
// UNIT_NOT_FOUND for a unit that begins no such form.
int SmallerUnit(int larger)
{
    switch (larger) {
    case CONV_FEET_TO_M:
        return CONV_INCHES_TO_CM;
    case CONV_STONES_TO_KG:
        return CONV_POUNDS_TO_KG;
    case CONV_POUNDS_TO_KG:
        return CONV_OUNCES_TO_G;
    default:
        return UNIT_NOT_FOUND;
    }
}

// "5 ft 10 in", "11 st 4 lb", "7 lb 8 oz": after the first number, read from text, the trimmed unit
// part holds the larger unit, a second amount without a sign and, optionally, the smaller unit.
// Returns the result, or nullptr for no result.
const char* ConvertTwoAmounts(const char* text, double first, const char* unit)
{
    const char* p = unit;  // past the first unit's spelling: it holds no digit or white space
    while (*p != '\0' && !IsWhiteSpace(*p) && !IsDigit(*p)) ++p;
    if (*p == '\0') return nullptr;  // a spelling alone was looked up already
    const int larger = LookupSpelling(unit, p);
    const int smaller = SmallerUnit(larger);
    if (smaller == UNIT_NOT_FOUND) return nullptr;
    // The second amount follows white space, or the spelling itself; a dot that ends the spelling
    // abbreviates only before white space ("5ft.10in" is no form: the dot is no point either).
    const char* amount = p;
    while (IsWhiteSpace(*amount)) ++amount;
    if (amount == p && p[-1] == '.') return nullptr;
    if (!IsDigit(amount[*amount == '.' ? 1 : 0])) return nullptr;
    double second = 0.0;
    const char* rest = ReadFraction(amount, ReadPlainNumber(amount, &second), &second, false);
    if (std::isinf(second)) return nullptr;
    while (IsWhiteSpace(*rest)) ++rest;
    if (*rest != '\0' && LookupSpelling(rest, nullptr) != smaller) return nullptr;
    if (BeginsWithMinus(text)) second = -second;

    const double poundFactor = static_cast<double>(ConversionTable[CONV_POUNDS_TO_KG].factor);
    const char* const kilograms = ConversionTable[CONV_POUNDS_TO_KG].target;
    if (larger == CONV_FEET_TO_M) {
        const double feetMetres = first * METRES_PER_FOOT;
        const double inchMetres = second * METRES_PER_INCH;
        return WriteMetres(feetMetres + inchMetres);
    }
    if (larger == CONV_STONES_TO_KG) {
        const double stoneKilograms = static_cast<double>(ConversionTable[CONV_STONES_TO_KG].factor) * first;
        const double poundKilograms = poundFactor * second;
        return WriteResult(stoneKilograms + poundKilograms, 2, " ", kilograms);
    }
    return WriteResult(poundFactor * (first + second / 16), 2, " ", kilograms);  // sixteen ounces a pound
}

}  // namespace

const char* ConvertExpression(char* text)
{
    if (text == nullptr) return nullptr;
    double number = 0.0;
    const char* numberEnd = ReadPlainNumber(text, &number);
    // The feet-and-inches form goes first. Its first number ends where the plain number does, or
    // after an exponent letter that the plain one leaves out ("5e'10"): only an apostrophe or an e
    // there can begin it, which spares reading most numbers twice.
    double metres = 0.0;
    const bool mayBeFeet = *numberEnd == '\'' || *numberEnd == 'e' || *numberEnd == 'E';
    if (numberEnd != text && mayBeFeet && ReadFeetAndInches(text, &metres)) return WriteMetres(metres);

    numberEnd = ReadFraction(text, numberEnd, &number, false);
    if (std::isinf(number) && number > 0) return nullptr;

    char* unit = TrimSpace(text + (numberEnd - text));
    if (*unit == '\0') return nullptr;  // a bare number
    int index = LookupSpelling(unit, nullptr);
    if (index == UNIT_NOT_FOUND) index = TemperatureAfterMarker(unit);
    if (index == UNIT_NOT_FOUND) return numberEnd != text ? ConvertTwoAmounts(text, number, unit) : nullptr;

    const Conversion& conversion = ConversionTable[index];
    const double value = static_cast<double>(conversion.factor) * number;
    if (index == CONV_CELSIUS_TO_F) return WriteResult(value + FAHRENHEIT_OFFSET, 0, "", conversion.target);
    if (index == CONV_FAHRENHEIT_TO_C) return WriteResult(value + CELSIUS_OFFSET, 0, "", conversion.target);
    return WriteResult(value, 2, " ", conversion.target);
}

const char* ConvertForDisplay(char* text)
{
    size_t length = 0;
    return ConvertForDisplay(text, &length);
}

const char* ConvertForDisplay(char* text, size_t* length)
{
    if (ConvertExpression(text) != nullptr) {
        *length = ResultLength;
        return ResultText;
    }
    const bool blank = text == nullptr || *text == '\0';
    *length = blank ? 0 : sizeof DONT_KNOW - 1;
    return blank ? "" : DONT_KNOW;
}
