#pragma once

#include <QString>
#include <QWidget>

// Sets a style sheet only when it differs from the one the widget has.
// Setting a sheet re-reads it and polishes the widget and all its children
// again, even when the text is the same; skins and texts are applied more
// than once while the window is built and on every change of language.
inline void SetStyleSheet(QWidget* widget, const QString& sheet)
{
    if (widget->styleSheet() != sheet)
        widget->setStyleSheet(sheet);
}
