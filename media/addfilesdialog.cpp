#include "media/addfilesdialog.h"

#include "media/addfiles.h"
#include "media/filetypes.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace {
constexpr QLatin1String kAddVideoPathKey("addVideoPath");

OpenFilesDialog& DialogOverride()
{
    static OpenFilesDialog dialog;
    return dialog;
}

QStringList RunOpenFilesDialog(QWidget* parent, const QString& caption, const QString& folder,
                               const QString& filter)
{
    if (DialogOverride())
        return DialogOverride()(parent, caption, folder, filter);
    return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
}
} // namespace

void SetOpenFilesDialog(OpenFilesDialog dialog)
{
    DialogOverride() = std::move(dialog);
}

QStringList AddFiles(QWidget* parent)
{
    const QString start = FolderSetting(kAddVideoPathKey);
    // Translated with the top bar's texts: the dialog is its "Add Files" command.
    const QStringList files =
        RunOpenFilesDialog(parent, QCoreApplication::translate("VCTopWidget", "Open File"), start,
                           MediaDialogFilter());
    if (files.isEmpty())
        return {};
    SaveFolderSetting(kAddVideoPathKey, FolderOfFile(files.first()));
    return files;
}
