#pragma once

#include <QString>
#include <QStringList>

// Where the "Add Files" dialog opens and which folder it remembers. No
// widgets here, so the rules are testable without a display.

// The user's documents folder with Tarnwick/Splicora inside it, created on
// the way when missing: home/Documents/ when it exists, else
// home/My Documents/ when that exists, else a new home/Documents/. No
// trailing slash. The path is returned even when a folder could not be
// created, so a dialog still has somewhere to start.
QString DefaultMediaFolder();

// The folder stored under `key` when it is set and still exists, otherwise
// DefaultMediaFolder(). The default is never written back.
QString FolderSetting(const QString& key);
void SaveFolderSetting(const QString& key, const QString& value);

// Everything before the file name, ending with "/"; empty for a bare name.
QString FolderOfFile(const QString& path);
