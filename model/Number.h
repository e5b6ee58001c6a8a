#pragma once

#include <QString>

// The shortest text that reads back as the same double (2.9, not
// 2.8999999999999999), independent of the locale.
QString shortestNumber(double v);

// The value as a box or a line with room for `characters` characters shows
// it: the shortest text when it fits, else rounded to as many significant
// digits as fit (−1.7254145492514699 in 8: −1.72541). The exact value is
// shortestNumber's, for a tooltip.
QString fittedNumber(double v, int characters);
