#include "update/noupdatewidget.h"
#include "widgets/stylesheet.h"

#include "mainwindow/vcmainwidget.h"
#include "media/workfolder.h"
#include "skin/scale.h"
#include "update/hadupdatewidget.h"
#include "update/updatelogic.h"
#include "update/updatelook.h"
#include "update/updatenetwork.h"
#include "widgets/focusring.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {

constexpr int kWidth = 522;
constexpr int kHeight = 230;
// A manifest is a few kilobytes; anything much larger is not one.
constexpr qint64 kManifestLimit = 1024 * 1024;

} // namespace

NoUpdateWidget::NoUpdateWidget(QWidget* parent)
    : QDialog(parent), m_panel(new QWidget(this)), m_crossButton(new MyPushButton(this)),
      m_line(new QWidget(this)), m_titleLabel(new QLabel(this)), m_iconLabel(new QLabel(this)),
      m_resultLabel(new QLabel(this)), m_versionLabel(new QLabel(this)),
      m_closeButton(new MyTempButton2(this)), m_waitLabel(new QLabel(this)),
      m_waitMovie(new QMovie(QStringLiteral(":/images/small_loadimg.gif"), QByteArray(), this))
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(Scaled(kWidth), Scaled(kHeight));
    m_resultLabel->setWordWrap(true);
    // Texts of the program only, never markup.
    m_resultLabel->setTextFormat(Qt::PlainText);
    m_versionLabel->setTextFormat(Qt::PlainText);
    m_waitLabel->setMovie(m_waitMovie);
    m_waitLabel->setScaledContents(true);

    connect(m_crossButton, &MyPushButton::clicked, this, &NoUpdateWidget::close_slot);
    connect(m_closeButton, &MyTempButton2::clicked, this, &NoUpdateWidget::close_slot);

    FocusRing::attach(m_closeButton);
    layoutChildren();
    applySkin();
    Retranslate();
    resetPages();
}

NoUpdateWidget::~NoUpdateWidget()
{
    if (m_reply)
        m_reply->abort();
}

void NoUpdateWidget::layoutChildren()
{
    const int w = width();
    m_panel->setGeometry(0, 0, w, height());
    m_crossButton->setButtonGeometry(w - Scaled(30), Scaled(14), Scaled(16), Scaled(16));
    m_line->setGeometry(0, Scaled(45), w, 1);
    m_titleLabel->setGeometry(Scaled(30), 0, w - Scaled(60), Scaled(45));
    m_iconLabel->setGeometry(Scaled(30), Scaled(90), Scaled(80), Scaled(80));
    // Two lines of room: "no server answered" is longer than "up to date".
    m_resultLabel->setGeometry(Scaled(122), Scaled(75), Scaled(370), Scaled(45));
    m_versionLabel->setGeometry(Scaled(122), Scaled(120), Scaled(370), Scaled(30));
    m_closeButton->setGeometry((w - Scaled(110)) / 2, Scaled(178), Scaled(110), Scaled(34));
    m_waitLabel->setGeometry((w - Scaled(20)) / 2, Scaled(100), Scaled(20), Scaled(20));
}

void NoUpdateWidget::applySkin()
{
    ApplyUpdatePanel(m_panel, m_line);
    ApplyUpdateCross(m_crossButton);
    ShowProgramIcon(m_iconLabel);
    ApplyGreyButton(m_closeButton);
    SetStyleSheet(m_titleLabel, UpdateLabelSheet(20, "#ffffff", 800));
    SetStyleSheet(m_resultLabel, UpdateLabelSheet(14, "#e8e8e8", 500));
    SetStyleSheet(m_versionLabel, UpdateLabelSheet(14, "#e8e8e8", 400));
}

void NoUpdateWidget::Retranslate()
{
    m_titleLabel->setText(tr("Tarnwick Framewright"));
    m_versionLabel->setText(tr("The software version you are currently using is: V") +
                            QStringLiteral(SPLICORA_VERSION));
    m_closeButton->setText(tr("Close"));
    if (m_updateDialog)
        m_updateDialog->Retranslate();
}

void NoUpdateWidget::resetPages()
{
    m_resultLabel->hide();
    m_versionLabel->hide();
    m_closeButton->hide();
    m_waitLabel->show();
}

void NoUpdateWidget::startCheck()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    resetPages();
    // Turns only while a check runs: an idle one would wake the program ten
    // times a second for as long as it runs.
    m_waitMovie->start();
    m_addresses = ManifestAddresses();
    m_addressIndex = 0;
    if (m_addresses.isEmpty()) {
        // A build without an update site: nothing to ask.
        qDebug("update check: this build names no update site");
        decide(Manifest(), false);
        return;
    }
    requestCurrent();
}

void NoUpdateWidget::requestCurrent()
{
    m_body.clear();
    m_oversized = false;
    const QUrl url(m_addresses.value(m_addressIndex));
    if (!IsSecureUrl(url)) {
        qDebug("update check: %s refused, not https", qUtf8Printable(url.toString()));
        // Counted as an address that did not answer.
        QMetaObject::invokeMethod(this, &NoUpdateWidget::downhtmlfinished_slots,
                                  Qt::QueuedConnection);
        return;
    }
    if (!m_network)
        m_network = std::make_unique<QNetworkAccessManager>();
    m_reply = m_network->get(SecureUpdateRequest(url, m_transferTimeoutMs));
    connect(m_reply, &QNetworkReply::readyRead, this, [this] {
        if (!m_reply || m_oversized)
            return;
        m_body += m_reply->readAll();
        if (m_body.size() > kManifestLimit) {
            m_oversized = true;
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &NoUpdateWidget::downhtmlfinished_slots);
}

void NoUpdateWidget::downhtmlfinished_slots()
{
    QByteArray body;
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        if (!m_oversized && reply->isOpen())
            m_body += reply->readAll();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        // An error page or a broken transfer says nothing about versions.
        if (reply->error() == QNetworkReply::NoError && !m_oversized && status < 400)
            body = m_body;
        else
            qDebug("update check: %s failed: %s (HTTP %d%s)",
                   qUtf8Printable(reply->url().toString()), qUtf8Printable(reply->errorString()),
                   status, m_oversized ? ", too large" : "");
        reply->deleteLater();
    }
    m_body.clear();
    m_waitMovie->stop();
    m_waitLabel->hide();

    const QString copy = WorkFolder() + QStringLiteral("/update.xml");
    QFile::remove(copy);
    Manifest manifest;
    if (!body.isEmpty()) {
        // Kept for a look by hand; the check itself reads the answer in memory.
        QFile file(copy);
        if (file.open(QIODevice::WriteOnly))
            file.write(body);
        manifest = ParseManifest(body, UpdatePlatformName(), m_automatic);
        if (!manifest.valid)
            qDebug("update check: the answer of %s is not a manifest",
                   qUtf8Printable(m_addresses.value(m_addressIndex)));
    }
    if (!manifest.valid && ++m_addressIndex < m_addresses.size()) {
        requestCurrent();
        return;
    }
    decide(manifest, manifest.valid);
}

void NoUpdateWidget::decide(const Manifest& manifest, bool answered)
{
    m_LastVersion = manifest.lastVersion;
    if (m_automatic)
        qDebug("AutoCheckVersion: %s\n", qUtf8Printable(m_LastVersion));
    else
        qDebug("m_LastVersion: %s\n", qUtf8Printable(m_LastVersion));

    const QString language = MainWindow() ? MainWindow()->languageCode : QString();
    const UpdateOffer offer = ChooseUpdate(manifest, QStringLiteral(SPLICORA_VERSION), language);
    if (offer.available) {
        hide();
        if (!m_updateDialog)
            m_updateDialog = std::make_unique<HadUpdateWidget>();
        m_updateDialog->setJobRunning(m_jobRunning);
        m_updateDialog->setupOffer(offer);
        CenterOverMainWindow(m_updateDialog.get());
        m_updateDialog->open();
        emit checkFinished(true);
        return;
    }
    if (!answered) {
        showResult(m_addresses.isEmpty()
                       ? tr("This copy of Splicora has no update site; it is updated with your "
                            "system's packages.")
                       : tr("Could not reach the update server. Please check your connection "
                            "and try again."),
                   false);
        m_closeButton->show();
    } else {
        showResult(tr("You already have the latest version, no need to update!"), true);
    }
    emit checkFinished(false);
}

void NoUpdateWidget::showResult(const QString& text, bool withVersion)
{
    m_resultLabel->setText(text);
    m_resultLabel->show();
    m_versionLabel->setVisible(withVersion);
}

void NoUpdateWidget::setJobRunning(bool running)
{
    m_jobRunning = running;
    if (m_updateDialog)
        m_updateDialog->setJobRunning(running);
}

void NoUpdateWidget::close_slot()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    hide();
}

void NoUpdateWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close_slot();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Once there is an answer to acknowledge; not a way to skip the check.
        if (m_resultLabel->isVisible())
            close_slot();
        return;
    }
    QDialog::keyPressEvent(event);
}
