#include "convert/convertprogresswidget.h"
#include "widgets/stylesheet.h"

#include "list/videolistwidget.h"
#include "mainwindow/vcmainwidget.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "widgets/mytempbutton.h"

#include <QLabel>
#include <QMovie>
#include <QProgressBar>

namespace {

int RecordsInUse()
{
    const VCMainWidget* main = MainWindow();
    return main && main->mediaList() ? main->mediaList()->itemCount() : 0;
}

} // namespace

ConvertProgressWidget::ConvertProgressWidget(QWidget* parent)
    : QWidget(parent), m_frame(new QWidget(this)), m_frameFill(new QWidget(m_frame)),
      m_busyLabel(new QLabel(m_frame)),
      m_busyMovie(new QMovie(QStringLiteral(":/images/small_loadimg2.gif"), QByteArray(), this)),
      m_titleLabel(new QLabel(m_frame)), m_progressBar(new QProgressBar(m_frame)),
      m_trackLabel(new QLabel(m_frame)), m_fillLabel(new QLabel(m_frame)),
      m_percentLabel(new QLabel(m_frame)), m_cancelButton(new MyTempButton2(m_frame))
{
    m_busyLabel->setMovie(m_busyMovie);
    m_busyLabel->setScaledContents(true);
    m_titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_percentLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_progressBar->setRange(0, ProgressMax);
    m_progressBar->setTextVisible(false);
    m_progressBar->hide();
    m_cancelButton->setAlignment(Qt::AlignCenter);
    connect(m_cancelButton, &MyTempButton2::clicked, this,
            &ConvertProgressWidget::abortButton_slots);
    applySkin();
    prepareTexts();
    setProgress(0, false);
}

void ConvertProgressWidget::setProgress(int value, bool onlyIncrease)
{
    if (!m_tracker.setProgress(value, onlyIncrease) && onlyIncrease)
        return;
    const int shown = m_tracker.value();
    m_percentLabel->setText(ProgressPercentText(shown));
    m_progressBar->setValue(shown);
    placeFill();
}

void ConvertProgressWidget::placeFill()
{
    const QRect track = m_trackLabel->geometry();
    const int width =
        qMin(track.width(), int(m_tracker.value() / double(ProgressMax) * track.width()));
    m_fillLabel->setGeometry(track.x(), track.y(), width, track.height());
    m_fillLabel->setVisible(width > 0);
    m_percentLabel->raise();
}

void ConvertProgressWidget::prepareTexts()
{
    SetStyleSheet(m_titleLabel, QStringLiteral("QLabel{font-size:") + ScaledPx(12) +
                                    QStringLiteral(";color:") + SkinColour("txtcolor_main") +
                                    QStringLiteral(";font-weight:600;}"));
    m_titleLabel->setText(tr("Converting..."));
    m_cancelButton->setText(tr("Cancel"));
    const int n = RecordsInUse();
    if (n > 1)
        m_titleLabel->setText(tr("Joining"));
    else if (n == 1)
        m_titleLabel->setText(tr("Cutting"));
}

void ConvertProgressWidget::applySkin()
{
    SetStyleSheet(m_frameFill, QStringLiteral("QWidget{border: 1px solid ") +
                                   SkinColour("linecolor") + QStringLiteral("; background-color:") +
                                   SkinColour("rightbgcolor") + QStringLiteral(";}"));
    SetStyleSheet(m_progressBar,
                  QStringLiteral("QProgressBar {font-size: ") + ScaledPx(9) +
                      QStringLiteral("; background-color: ") + SkinColour("dlprogress_bgcolor") +
                      QStringLiteral(";border: 1px solid ") + SkinColour("linecolor_select") +
                      QStringLiteral(";}QProgressBar::chunk {background-color: ") +
                      SkinColour("dlprogress_color") + QStringLiteral(";}"));
    // Light, bold text on a darkened patch reads over the fill and the empty
    // track alike; the default dark 9-unit text was lost on the track.
    SetStyleSheet(m_percentLabel, QStringLiteral("QLabel{font-size: ") + ScaledPx(11) +
                                      QStringLiteral(";font-weight:600;padding-right:3px;color:") +
                                      SkinColour("txtcolor_main") +
                                      QStringLiteral(";background-color:rgba(0,0,0,110);}"));
    SetStyleSheet(m_trackLabel, QStringLiteral("QLabel{border: 1px solid ") +
                                    SkinColour("linecolor_select") +
                                    QStringLiteral("; background-color:") +
                                    SkinColour("dlprogress_bgcolor") + QStringLiteral(";}"));
    SetStyleSheet(m_fillLabel, QStringLiteral("QLabel{border: 1px solid ") +
                                   SkinColour("linecolor_select") +
                                   QStringLiteral("; background-color:") +
                                   SkinColour("dlprogress_color") + QStringLiteral(";}"));
    ApplyPaletteButtonSheets(m_cancelButton, 2, 11, 500);
}

void ConvertProgressWidget::layoutChildren()
{
    const int w = width();
    const int h = height();
    const int frameWidth = Scaled(520);
    const int frameHeight = Scaled(68);
    m_frame->setGeometry((w - frameWidth) / 2, (h - Scaled(160)) / 2, frameWidth, frameHeight);
    m_frameFill->setGeometry(0, 0, frameWidth, frameHeight);
    m_busyLabel->setGeometry(Scaled(5), Scaled(5), Scaled(20), Scaled(20));
    m_titleLabel->setGeometry(Scaled(27), Scaled(5), Scaled(120), Scaled(20));
    const QRect bar(Scaled(5), Scaled(30), frameWidth - Scaled(75), Scaled(20));
    m_progressBar->setGeometry(bar);
    m_trackLabel->setGeometry(bar);
    // Wide enough for "100.00%" in the bold face.
    m_percentLabel->setGeometry(bar.x() + bar.width() - Scaled(66), bar.y(), Scaled(64),
                                bar.height());
    m_cancelButton->setGeometry(frameWidth - Scaled(65), Scaled(30), Scaled(60), Scaled(20));
    m_progressBar->hide();
    placeFill();
}

void ConvertProgressWidget::showWithAnimation()
{
    prepareTexts();
    setProgress(0, false);
    show();
    raise();
    m_busyMovie->start();
}

void ConvertProgressWidget::hideWithAnimation()
{
    prepareTexts();
    setProgress(ProgressMax, false);
    hide();
    m_busyMovie->stop();
}

void ConvertProgressWidget::abortButton_slots()
{
    emit abortRequested();
}
