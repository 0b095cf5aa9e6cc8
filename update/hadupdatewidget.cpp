#include "update/hadupdatewidget.h"
#include "widgets/stylesheet.h"

#include "app/appfolder.h"
#include "app/platform.h"
#include "app/timetext.h"
#include "mainwindow/helplinks.h"
#include "mainwindow/notices.h"
#include "mainwindow/vcmainwidget.h"
#include "media/workfolder.h"
#include "skin/scale.h"
#include "update/updatelogic.h"
#include "update/updatelook.h"
#include "update/updatenetwork.h"
#include "widgets/focusring.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>

namespace {

constexpr int kWidth = 582;
constexpr int kHeight = 487;
constexpr int kStallMs = 120000;

QString UpdateButtonSheet(const char* colour)
{
    return QStringLiteral("QLabel{border: 1px solid %1; font-size:%2px;color:#ffffff;  "
                          "background-color:%1;border-radius: 3px;}")
        .arg(QLatin1String(colour))
        .arg(Scaled(14));
}

} // namespace

HadUpdateWidget::HadUpdateWidget(QWidget* parent)
    : QDialog(parent), m_panel(new QWidget(this)), m_crossButton(new MyPushButton(this)),
      m_line(new QWidget(this)), m_iconLabel(new QLabel(this)), m_headlineLabel(new QLabel(this)),
      m_noteLabel(new QLabel(this)), m_changeLogCaption(new QLabel(this)),
      m_changeLogArea(new QScrollArea(this)), m_changeLogLabel(new QLabel),
      m_cancelButton(new MyTempButton2(this)), m_updateButton(new MyTempButton2(this)),
      m_statusLabel(new QLabel(this)), m_progressBar(new QProgressBar(this)),
      m_linkLabel(new QLabel(this))
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(Scaled(kWidth), Scaled(kHeight));

    for (QLabel* label : {m_headlineLabel, m_noteLabel, m_changeLogLabel})
        label->setWordWrap(true);
    // The change log comes from the network: shown as it stands, never as markup.
    m_changeLogLabel->setTextFormat(Qt::PlainText);
    m_changeLogLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_changeLogArea->setWidget(m_changeLogLabel);
    m_changeLogArea->setWidgetResizable(true);
    m_changeLogArea->setFrameShape(QFrame::NoFrame);
    m_changeLogArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_progressBar->setTextVisible(false);
    m_linkLabel->setTextFormat(Qt::RichText);
    m_linkLabel->setWordWrap(true);
    m_linkLabel->setOpenExternalLinks(false);
    m_linkLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse);

    m_stallTimer.setSingleShot(true);
    m_stallTimer.setInterval(kStallMs);
    connect(&m_stallTimer, &QTimer::timeout, this, &HadUpdateWidget::downloadTimer_slots);
    connect(m_crossButton, &MyPushButton::clicked, this, &HadUpdateWidget::cancelButton_slots);
    connect(m_cancelButton, &MyTempButton2::clicked, this, &HadUpdateWidget::cancelButton_slots);
    connect(m_updateButton, &MyTempButton2::clicked, this, &HadUpdateWidget::updateButton_slots);
    connect(m_linkLabel, &QLabel::linkActivated, this, &HadUpdateWidget::OpenUrl_slots);

    FocusRing::attach(m_cancelButton);
    FocusRing::attach(m_updateButton);
    layoutChildren();
    applySkin();
    Retranslate();
    showOfferPage();
}

HadUpdateWidget::~HadUpdateWidget()
{
    dropDownload();
}

void HadUpdateWidget::layoutChildren()
{
    const int w = width();
    const int h = height();
    m_panel->setGeometry(0, 0, w, h);
    m_crossButton->setButtonGeometry(w - Scaled(30), Scaled(14), Scaled(16), Scaled(16));
    m_line->setGeometry(0, Scaled(45), w, 1);
    m_iconLabel->setGeometry(Scaled(50), Scaled(60), Scaled(60), Scaled(60));
    m_headlineLabel->setGeometry(Scaled(130), Scaled(60), w - Scaled(160), Scaled(40));
    m_noteLabel->setGeometry(Scaled(130), Scaled(105), w - Scaled(160), Scaled(60));
    m_changeLogCaption->setGeometry(Scaled(130), Scaled(185), w - Scaled(160), Scaled(20));
    m_changeLogArea->setGeometry(Scaled(130), Scaled(210), w - Scaled(160), Scaled(160));
    m_cancelButton->setGeometry(w - Scaled(30) - Scaled(260), Scaled(400), Scaled(120), Scaled(34));
    m_updateButton->setGeometry(w - Scaled(30) - Scaled(120), Scaled(400), Scaled(120), Scaled(34));
    m_statusLabel->setGeometry(Scaled(50), (h - Scaled(10)) / 2, w - Scaled(100), Scaled(30));
    m_progressBar->setGeometry(Scaled(50), m_statusLabel->y() + Scaled(40), w - Scaled(100),
                               Scaled(10));
    const int linkY = m_progressBar->y() + Scaled(30);
    m_linkLabel->setGeometry(Scaled(20), linkY, w - Scaled(40),
                             h - Scaled(50) - linkY + Scaled(30));
}

void HadUpdateWidget::applySkin()
{
    ApplyUpdatePanel(m_panel, m_line);
    ApplyUpdateCross(m_crossButton);
    ShowProgramIcon(m_iconLabel);
    ApplyGreyButton(m_cancelButton);
    m_updateButton->setStateStyleSheets(UpdateButtonSheet("#faa926"), UpdateButtonSheet("#e89d23"),
                                        UpdateButtonSheet("#faa926"));
    m_updateButton->setAlignment(Qt::AlignCenter);
    m_updateButton->setEnabledState(true);
    SetStyleSheet(m_headlineLabel, UpdateLabelSheet(14, "#ffffff", 600));
    SetStyleSheet(m_noteLabel, UpdateLabelSheet(14, "#e8e8e8"));
    SetStyleSheet(m_changeLogCaption, UpdateLabelSheet(14, "#ffffff", 600));
    SetStyleSheet(m_changeLogLabel, UpdateLabelSheet(12, "#666666"));
    SetStyleSheet(m_statusLabel, UpdateLabelSheet(12, "#e8e8e8"));
    SetStyleSheet(
        m_progressBar,
        QStringLiteral(
            "QProgressBar {background-color: #d4e2e7;border: 1px solid #d4e2e7;border-radius: "
            "5px;}QProgressBar::chunk {background-color: #3fbe09;width: 10px;}"));
    SetStyleSheet(
        m_changeLogArea,
        QStringLiteral("QScrollArea{background:transparent;border:none;}"
                       "QScrollArea > QWidget > QWidget{background:transparent;}"
                       "QScrollBar:horizontal {border: 0px;width: 0px;margin: 0px 0 0px 0}"
                       "QScrollBar:vertical{width:5px;background:transparent;border:none;}"
                       "QScrollBar::handle:vertical{background:#b6ced6;border-radius:2px;}"
                       "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{height:0px;}"));
}

void HadUpdateWidget::Retranslate()
{
    if (!m_downloading)
        m_headlineLabel->setText(tr("There is a new version, do you want to update now?"));
    m_noteLabel->setText(
        SelfUpdateEnabled()
            ? tr("Note: Our software is frequently optimized and upgraded. Please update to the "
                 "latest version in time!")
            : tr("Note: This copy of Splicora is updated with your system's packages. Update it "
                 "there, or read more on the homepage."));
    m_changeLogCaption->setText(tr("Change Log:"));
    m_cancelButton->setText(tr("Cancel"));
    m_updateButton->setText(SelfUpdateEnabled() ? tr("Update") : tr("Homepage"));
}

void HadUpdateWidget::setupOffer(const UpdateOffer& offer)
{
    dropDownload();
    m_offer = offer;
    m_changeLogLabel->setText(offer.changeLog);
    Retranslate();
    showOfferPage();
}

void HadUpdateWidget::showOfferPage()
{
    m_headlineLabel->setText(tr("There is a new version, do you want to update now?"));
    m_noteLabel->show();
    m_changeLogCaption->show();
    m_changeLogArea->show();
    m_updateButton->show();
    // A mandatory update offers no way round it but the title-bar cross.
    m_cancelButton->setVisible(!m_offer.mustUpdate);
    m_statusLabel->hide();
    m_progressBar->hide();
    m_linkLabel->hide();
}

void HadUpdateWidget::showDownloadPage()
{
    m_headlineLabel->setText(tr("New version detected, downloading..."));
    m_noteLabel->hide();
    m_changeLogCaption->hide();
    m_changeLogArea->hide();
    m_cancelButton->hide();
    m_updateButton->hide();
    m_statusLabel->clear();
    m_statusLabel->show();
    m_progressBar->setRange(0, 0);
    m_progressBar->setValue(0);
    m_progressBar->show();
    m_linkLabel->show();
}

void HadUpdateWidget::cancelButton_slots()
{
    // Whatever was written so far is no installer: it must not stay behind.
    dropDownload();
    hide();
}

void HadUpdateWidget::updateButton_slots()
{
    if (!SelfUpdateEnabled()) {
        QDesktopServices::openUrl(
            HelpLinkUrl(HelpLink::Homepage, AppFolder(),
                        MainWindow() ? MainWindow()->languageCode : QString()));
        return;
    }
    if (m_downloading)
        return;
    m_attempts = 0;
    showDownloadPage();
    startDownload();
}

void HadUpdateWidget::showLink(const QString& url)
{
    // The address comes from the network: escaped, and only offered when it
    // is one a browser should open.
    const QString size = QString::number(Scaled(12));
    QString text =
        QStringLiteral("<i style=\"color:#cbcbcb;font-size:%1px;font-style:normal;\">").arg(size) +
        tr("Note: If the download fails, please click the link below to download the "
           "update file through browser.")
            .toHtmlEscaped() +
        QLatin1Char(' ') + tr("Download link: ").toHtmlEscaped() + QStringLiteral("<br/>");
    if (IsSecureUrl(QUrl(url))) {
        const QString escaped = url.toHtmlEscaped();
        text += QStringLiteral("<a style=\"color:#d1d1d1;font-size:%1px;font-style:normal;\" "
                               "href=\"%2\"> %2 </a>")
                    .arg(size, escaped);
    }
    text += QStringLiteral("</i>");
    m_linkLabel->setText(text);
    m_linkLabel->setMaximumWidth(width());
}

void HadUpdateWidget::startDownload()
{
    if (m_downloading)
        return;
    m_source = DownloadSourceIndex(m_attempts, static_cast<int>(m_offer.sources.size()));
    if (m_source < 0) {
        failed(tr("Download update file failed, Please try again for other time."));
        hide();
        return;
    }
    const DownloadSource& source = m_offer.sources.at(m_source);
    showLink(source.url);
    if (source.md5.isEmpty() && source.sha256.isEmpty()) {
        // Nothing to check it against: the browser may fetch it, this
        // program will not start it.
        m_headlineLabel->setText(tr("This update cannot be verified, so it is not installed "
                                    "automatically. Download it with the link below."));
        m_progressBar->hide();
        return;
    }

    m_installerPath = WorkFolder() + QLatin1Char('/') + InstallerFileName();
    m_output.close();
    QFile::remove(m_installerPath);
    m_output.setFileName(m_installerPath);
    if (!m_output.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qDebug("update: cannot write %s", qUtf8Printable(m_installerPath));
        failed(tr("Download update file failed, Please try again for other time."));
        hide();
        return;
    }
    m_writeFailed = false;
    if (!m_network)
        m_network = std::make_unique<QNetworkAccessManager>();
    const QUrl url(source.url);
    m_downloading = true;
    if (!IsSecureUrl(url)) {
        qDebug("update: %s refused, not https", qUtf8Printable(source.url));
        // Counted as a failed attempt, like any other.
        QMetaObject::invokeMethod(
            this, [this] { downloadfinished_slots(nullptr); }, Qt::QueuedConnection);
        return;
    }
    m_reply = m_network->get(SecureUpdateRequest(url, 0));
    connect(m_reply, &QNetworkReply::downloadProgress, this,
            &HadUpdateWidget::downloadProgress_slots);
    connect(m_reply, &QNetworkReply::readyRead, this, &HadUpdateWidget::downloadreadyRead_slots);
    QNetworkReply* reply = m_reply;
    connect(m_reply, &QNetworkReply::finished, this,
            [this, reply] { downloadfinished_slots(reply); });
    m_stallTimer.start();
}

void HadUpdateWidget::downloadProgress_slots(qint64 received, qint64 total)
{
    m_stallTimer.start();
    const ProgressScale scale = ScaleProgress(received, total);
    m_progressBar->setRange(0, scale.maximum);
    m_progressBar->setValue(scale.value);
    QString status = tr("Downloading Update");
    if (received > 0) {
        status += QStringLiteral("... ") + SizeToString(received) + QStringLiteral(" / ") +
                  SizeToString(total > 0 ? total : ScaleProgress(received, 0).maximum);
    }
    m_statusLabel->setText(status);
}

void HadUpdateWidget::downloadreadyRead_slots()
{
    // Every piece of data restarts the guard: a transfer that stops half way
    // is caught as well as one that never starts.
    m_stallTimer.start();
    if (!m_reply || m_writeFailed)
        return;
    if (m_reply->error() != QNetworkReply::NoError) {
        qDebug("found error code:%d %d",
               m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
               int(m_reply->error()));
        return;
    }
    const QByteArray data = m_reply->readAll();
    if (m_output.write(data) != data.size()) {
        // A full disk: the rest would only be thrown away.
        qDebug("update: writing %s failed: %s", qUtf8Printable(m_installerPath),
               qUtf8Printable(m_output.errorString()));
        m_writeFailed = true;
        m_reply->abort();
    }
}

void HadUpdateWidget::downloadTimer_slots()
{
    if (m_reply) {
        qDebug("update: the download stalled; aborted");
        m_reply->abort();
    }
}

void HadUpdateWidget::downloadfinished_slots(QNetworkReply* reply)
{
    if (reply != m_reply)
        return;
    m_downloading = false;
    m_stallTimer.stop();
    bool ok = false;
    if (reply) {
        reply->disconnect(this);
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() == QNetworkReply::NoError && status < 400 && !m_writeFailed) {
            const QByteArray rest = reply->readAll();
            ok = m_output.write(rest) == rest.size() && m_output.flush();
        } else {
            qDebug("update: download of %s failed: %s (HTTP %d)",
                   qUtf8Printable(reply->url().toString()), qUtf8Printable(reply->errorString()),
                   status);
        }
        reply->deleteLater();
        m_reply = nullptr;
    }
    m_output.close();

    if (ok) {
        if (!InstallerMatches(m_installerPath, m_offer.sources.value(m_source))) {
            qDebug("update: %s does not match its checksum; deleted",
                   qUtf8Printable(m_installerPath));
            QFile::remove(m_installerPath);
            failed(tr("Download update file failed, Please try again for other time."));
            showOfferPage();
            return;
        }
        launch();
        return;
    }

    QFile::remove(m_installerPath);
    const int limit = DownloadAttemptLimit(static_cast<int>(m_offer.sources.size()));
    if (!m_writeFailed && m_attempts + 1 < limit) {
        ++m_attempts;
        startDownload();
        return;
    }
    ++m_attempts;
    failed(tr("Download update file failed, Please try again for other time."));
    hide();
}

void HadUpdateWidget::launch()
{
    VCMainWidget* main = MainWindow();
    if (m_jobRunning) {
        // The file is fetched again next time rather than kept unattended.
        QFile::remove(m_installerPath);
        failed(tr("A conversion is running. Finish or cancel it first, then update."));
        showOfferPage();
        return;
    }
    const int result = Platform::StartInstaller(m_installerPath);
    if (result <= 32) {
        qDebug("update: starting %s failed (%d)", qUtf8Printable(m_installerPath), result);
        if (result == 11)
            QFile::remove(m_installerPath);
        failed(tr("Download update file failed, Please try again for other time."));
        showOfferPage();
        return;
    }
    emit installerStarted(m_installerPath);
    hide();
    if (main)
        QTimer::singleShot(1000, main, &QWidget::close);
}

void HadUpdateWidget::failed(const QString& text)
{
    OpenNotice(MainWindow(), text);
}

void HadUpdateWidget::dropDownload()
{
    m_stallTimer.stop();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    if (m_downloading || m_output.isOpen()) {
        m_output.close();
        QFile::remove(m_installerPath);
    }
    m_downloading = false;
}

void HadUpdateWidget::OpenUrl_slots(const QString& url)
{
    const QUrl link(url);
    const QString scheme = link.scheme().toLower();
    // Web pages only: a manifest must not make the desktop open anything else.
    if (url.isEmpty() || !(scheme == QLatin1String("https") || scheme == QLatin1String("http")))
        return;
    QDesktopServices::openUrl(link);
}

void HadUpdateWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        cancelButton_slots();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (m_updateButton->isVisible())
            updateButton_slots();
        return;
    }
    QDialog::keyPressEvent(event);
}
