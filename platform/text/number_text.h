#pragma once
// Number and text conversion. A number text has one of two forms:
// - the user's form, with the decimal separator of the user's regional settings
//   (text::DecimalSeparator()): what the user types, and every number the program
//   writes into an edit, a grid, a label or a message;
// - the service's form, always with a decimal point: the design service's replies
//   and requests, and the numbers written into the program itself (the layout's
//   default texts).
// Failures raise EConvertError, whose message the application's error box shows
// unchanged.
#include <string>

#include "platform/text/exception.h"

// Decimal text to a 32-bit integer: an optional sign and digits, with blanks
// (spaces) before and after ignored. Anything else, or a number outside the
// 32-bit range, raises "'<text>' is not a valid integer value".
int ParseIntegerText(const std::string& text);

// Text to a floating number: an optional sign, digits with at most one decimal
// separator (the regional one only), an optional exponent "E" or "e" with an
// optional sign and digits; blanks (spaces) before and after are ignored.
// Anything else, or a magnitude beyond the double range, raises
// "'<text>' is not a valid floating point value".
double ParseFloatText(const std::string& text);

// ParseFloatText in the service's form: the separator is '.' whatever the
// user's settings; same grammar, same error.
double ParseServiceFloatText(const std::string& text);

// A number text of the service's form in the user's form ("0.033" becomes
// "0,033" under a decimal comma), so that ParseFloatText reads it back. A text
// that ParseServiceFloatText would refuse comes back unchanged.
std::string ServiceToUserNumberText(const std::string& text);

// The reverse: a number text of the user's form in the service's form; a text
// that ParseFloatText would refuse comes back unchanged.
std::string UserToServiceNumberText(const std::string& text);

// General format with up to 15 significant digits and the regional separator:
// 306.6f widened gives "306.600006103516", 1e20 "1E20", 1.5e-5 "1.5E-5".
// Non-finite values give "NAN", "INF" or "-INF".
std::string FloatToGeneralText(double value);

// A number by a picture: '0' a digit always shown, '#' a digit shown when not
// a leading or trailing zero, '.' the regional separator, and an optional
// exponent "E+00" (sign always) or "E-00" (sign when negative) with at least
// as many digits as zeros. The number's 15-digit decimal value is rounded half
// away from zero (0.125 with "0.##" gives "0.13"); a result of zero has no
// sign. Non-finite values give "NAN", "INF" or "-INF". Any other character in
// the picture raises Exception.
std::string FormatByPicture(const std::string& picture, double value);

// Whether the number has a finite single-precision value (magnitude up to FLT_MAX).
bool FitsSingle(double value);

// The value in single precision; beyond the float range, the conversion error
// "'<text>' is not a valid floating point value" for the text it was read from,
// never an infinity.
float NarrowToSingle(double value, const std::string& text);

// ParseFloatText for a single-precision value: NarrowToSingle of what it reads.
float ParseSingleText(const std::string& text);
