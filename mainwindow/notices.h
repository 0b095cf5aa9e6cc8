#pragma once

#include <QString>

class MyMessageDialog;
class QWidget;

// What the user is told when the program cannot work as usual: the media tool
// is missing, or the private folder could not be used.

// True when neither the application folder nor PATH holds the media tool, or
// its prober is missing.
bool MediaToolMissing();
QString MissingMediaToolText();
// Empty when the private folder is in use.
QString PrivateFolderNoticeText();

// Opens a notice with one "OK" button over the main window, modal to the
// window of `parent`, without waiting for it; it deletes itself once answered.
MyMessageDialog* OpenNotice(QWidget* parent, const QString& text);
