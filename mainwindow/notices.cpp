#include "mainwindow/notices.h"

#include "app/platform.h"
#include "mainwindow/vcmainwidget.h"
#include "media/frameindex.h"
#include "widgets/mymessagedialog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>

bool MediaToolMissing()
{
    // Files are read by the prober that comes with the media tool; without
    // it every file would be refused as unreadable.
    if (Platform::FindTool(QStringLiteral("ffmpeg")).isEmpty())
        return true;
    const QFileInfo prober(FfprobePath());
    return !prober.isAbsolute() || !prober.isExecutable();
}

QString MissingMediaToolText()
{
    // Short lines: the notice's message area does not grow.
#ifdef Q_OS_WIN
    return QCoreApplication::translate("Notices", "The media tool ffmpeg was not found.\n"
                                                  "Put ffmpeg.exe beside Splicora.");
#else
    return QCoreApplication::translate("Notices", "The media tool ffmpeg was not found.\n"
                                                  "Debian, Ubuntu: sudo apt install ffmpeg\n"
                                                  "or put ffmpeg beside Splicora.");
#endif
}

QString PrivateFolderNoticeText()
{
    const QString problem = Platform::PrivateFolderProblem();
    if (problem.isEmpty())
        return QString();
    // The log, kept in the folder used instead, names that one.
    return QCoreApplication::translate("Notices",
                                       "Splicora's folder %1 is not safe: %2.\n"
                                       "Remove it; until then each run uses a new folder.")
        .arg(Platform::PreferredPrivateFolder(), problem);
}

MyMessageDialog* OpenNotice(QWidget* parent, const QString& text)
{
    auto* dialog = new MyMessageDialog(parent ? parent->window() : nullptr);
    QObject::connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
    dialog->setupMessage(text);
    // Paths are never taken for markup.
    dialog->messageLabel()->setTextFormat(Qt::PlainText);
    dialog->setSingleButton(QCoreApplication::translate("Notices", "OK"));
    CenterOverMainWindow(dialog);
    dialog->open();
    return dialog;
}
