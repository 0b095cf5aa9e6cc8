#pragma once

#include <QString>
#include <QStringList>

// "30000/1001" -> 30000, 1001, as the prober writes rates and time bases;
// false for "0/0" and anything unreadable. Header-only: the engine library
// reads the same texts without linking the program's core.
inline bool ParseRationalText(const QString& text, int* num, int* den)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 2)
        return false;
    bool okNum = false;
    bool okDen = false;
    const int n = parts[0].toInt(&okNum);
    const int d = parts[1].toInt(&okDen);
    if (!okNum || !okDen || n <= 0 || d <= 0)
        return false;
    *num = n;
    *den = d;
    return true;
}
