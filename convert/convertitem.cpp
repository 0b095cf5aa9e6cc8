#include "convert/convertitem.h"

qint64 TotalTrimmedDuration(const QList<ConvertItem>& items, int formatItemId)
{
    bool formatItemFound = false;
    qint64 total = 0;
    for (const ConvertItem& item : items) {
        if (item.itemId == formatItemId)
            formatItemFound = true;
        if (item.cutEnd > item.cutStart)
            total += item.cutEnd - item.cutStart;
    }
    return formatItemFound ? total : 0;
}
