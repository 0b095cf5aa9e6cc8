#pragma once

#include "update/manifest.h"

#include <QByteArray>
#include <QDialog>
#include <QNetworkReply>
#include <QPointer>
#include <QStringList>

#include <memory>

class HadUpdateWidget;
class MyPushButton;
class MyTempButton2;
class QLabel;
class QMovie;
class QNetworkAccessManager;

// The update check: fetches the manifest from the update sites in turn and
// either says the program is up to date, says no site answered, or hands a
// newer version to the update dialog. Runs visibly when the user asks from
// the menu, and hidden for the daily automatic check.
class NoUpdateWidget : public QDialog
{
    Q_OBJECT

public:
    explicit NoUpdateWidget(QWidget* parent = nullptr);
    ~NoUpdateWidget() override;

    void setAutomatic(bool automatic) { m_automatic = automatic; }
    bool isAutomatic() const { return m_automatic; }
    // Back to the waiting look, before a new check.
    void resetPages();
    // Starts a check at the first address; a check in flight is dropped.
    void startCheck();
    bool isChecking() const { return m_reply != nullptr; }
    // Each manifest request ends after this long (15 s); tests shorten it.
    void setTransferTimeout(int ms) { m_transferTimeoutMs = ms; }
    // Handed on to the update dialog, which starts no installer meanwhile.
    void setJobRunning(bool running);

    QString lastVersion() const { return m_LastVersion; }
    HadUpdateWidget* updateDialog() const { return m_updateDialog.get(); }
    QLabel* resultLabel() const { return m_resultLabel; }
    QLabel* versionLabel() const { return m_versionLabel; }
    MyTempButton2* closeButton() const { return m_closeButton; }

    void Retranslate();

signals:
    // Once per check: whether a newer version was offered.
    void checkFinished(bool updateOffered);

public slots:
    void downhtmlfinished_slots();
    void close_slot();

protected:
    // Enter presses the dialog's main button, Escape closes or cancels.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void requestCurrent();
    void decide(const Manifest& manifest, bool answered);
    void showResult(const QString& text, bool withVersion);
    void layoutChildren();
    void applySkin();

    QStringList m_addresses;
    int m_addressIndex = 0;
    bool m_automatic = false;
    bool m_oversized = false;
    bool m_jobRunning = false;
    int m_transferTimeoutMs = 15000;
    QString m_LastVersion;
    QByteArray m_body;
    std::unique_ptr<QNetworkAccessManager> m_network;
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<HadUpdateWidget> m_updateDialog;

    QWidget* m_panel = nullptr;
    MyPushButton* m_crossButton = nullptr;
    QWidget* m_line = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_iconLabel = nullptr;
    QLabel* m_resultLabel = nullptr;
    QLabel* m_versionLabel = nullptr;
    MyTempButton2* m_closeButton = nullptr;
    QLabel* m_waitLabel = nullptr;
    QMovie* m_waitMovie = nullptr;
};
