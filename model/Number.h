#pragma once

#include <QString>

// The shortest text that reads back as the same double (2.9, not
// 2.8999999999999999), independent of the locale.
QString shortestNumber(double v);
