#pragma once

// One field of a column file read as a number, as C or Fortran print it:
// a leading '+', Fortran's D exponent (1.0D-03), .5, 3e-2. Read without the
// locale and without building a string per field. Shared by every reader of
// columns so that all of them accept the same numbers.
namespace NumberField {

enum class Result { Ok, NotANumber, TooLarge };

// [begin, end) holds the field without separators. A value too small for a
// double reads as zero; one too large to carry is TooLarge.
Result parse(const char* begin, const char* end, double* out);

} // namespace NumberField
