#include "mainwindow/vctopwidget.h"
#include "widgets/stylesheet.h"

#include "app/appfolder.h"
#include "app/settings.h"
#include "mainwindow/helplinks.h"
#include "mainwindow/languages.h"
#include "mainwindow/notices.h"
#include "mainwindow/vcmainwidget.h"
#include "media/addfilesdialog.h"
#include "resources/spriteregions.h"
#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"
#include "widgets/sprites.h"

#include <QAction>

#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QPixmap>

#include <algorithm>

namespace {

QString CommandButtonSheet(const char* background, const char* border,
                           const char* textColour = "#FFFFFF")
{
    return QStringLiteral("QLabel{font-size:") + ScaledPx(14) +
           QStringLiteral(";font-weight:500;color:") + QLatin1String(textColour) +
           QStringLiteral(";background-color:") + QLatin1String(background) +
           QStringLiteral(";border:") + QLatin1String(border) + QStringLiteral(";}");
}

void SetCommandEnabled(MyTempButton5* button, bool enabled)
{
    // Style sheets are costly to apply; the row count changes often.
    if (button->isEnabledState() != enabled)
        button->setEnabledState(enabled);
    // A disabled label draws its picture greyed out.
    button->iconLabel()->setEnabled(enabled);
}

void ApplyCommandButtonSkin(MyTempButton5* button, Sprites::RegionId icon)
{
    button->setStateStyleSheets(CommandButtonSheet("#2a3137", "0px solid #50616B"),
                                CommandButtonSheet("#293238", "1px solid #50616B"),
                                CommandButtonSheet("#171B1F", "1px solid #778E9E"));
    // Dimmed rather than pressed-looking: during a job the button must read
    // as one that cannot act, not as one that is being held down.
    button->setDisabledStyleSheet(CommandButtonSheet("#2a3137", "0px solid #50616B", "#6b7785"));
    button->setEnabledState(button->isEnabledState());

    // The icon sits at the left end; the caption is centred in what is left so
    // the two never overlap.
    const int iconSize = Scaled(30);
    const int iconX = Scaled(6);
    button->setIcon(PublicSprite().copy(Sprites::toRect<QRect>(Sprites::region(icon))), iconX,
                    (Scaled(33) - iconSize) / 2, iconSize, iconSize);
    button->styleLabel()->setContentsMargins(iconX + iconSize, 0, 0, 0);
}

// The design width, or wider when a language's caption needs more room
// beside the icon: a caption is never cut off.
int CommandButtonWidth(const MyTempButton5* button)
{
    QLabel* caption = button->styleLabel();
    caption->ensurePolished();
    const int textWidth = caption->fontMetrics().size(0, caption->text()).width();
    return std::max(Scaled(98), caption->contentsMargins().left() + textWidth);
}

} // namespace

VCTopWidget::VCTopWidget(QWidget* parent)
    : QWidget(parent), m_logoLabel(new QLabel(this)), m_titleLabel(new QLabel(this)),
      m_closeButton(new MyPushButton(this)), m_minButton(new MyPushButton(this)),
      m_menuButton(new MyPushButton(this)), m_bugButton(new MyPushButton(this)),
      m_commandWidget(new QWidget(this)), m_commandInner(new QWidget(m_commandWidget)),
      m_AddButton(new MyTempButton5(m_commandInner)),
      m_ClearButton(new MyTempButton5(m_commandInner)), m_versionLabel(new QLabel(m_commandInner)),
      m_mainMenu(new QMenu(this)), m_languageMenu(new QMenu(m_mainMenu))
{
    m_logoLabel->setScaledContents(true);
    m_logoLabel->setPixmap(QPixmap(QStringLiteral(":/images/program.png")));
    // The strip's style sheet draws a line along its top edge and would hand
    // the same line to every label inside it. This rule reaches only the
    // widgets inside the inner one, which itself still draws the line.
    m_commandInner->setObjectName(QStringLiteral("commandInner"));
    SetStyleSheet(m_commandInner, QStringLiteral("#commandInner QWidget{border:none;}"));
    m_ClearButton->hide();

    connect(m_closeButton, &MyPushButton::clicked, this, &VCTopWidget::closeButton_slots);
    connect(m_minButton, &MyPushButton::clicked, this, &VCTopWidget::minButton_slots);
    connect(m_menuButton, &MyPushButton::clicked, this, &VCTopWidget::menuButton_slots);
    connect(m_bugButton, &MyPushButton::clicked, this, &VCTopWidget::bugButton_slots);

    m_saveListAction = m_mainMenu->addAction(QString());
    m_openListAction = m_mainMenu->addAction(QString());
    m_mainMenu->addSeparator();
    m_homepageAction = m_mainMenu->addAction(QString());
    m_howcutAction = m_mainMenu->addAction(QString());
    m_howjoinAction = m_mainMenu->addAction(QString());
    m_supportAction = m_mainMenu->addAction(QString());
    m_checkUpgradeAction = m_mainMenu->addAction(QString());
    m_mainMenu->addMenu(m_languageMenu);
    connect(m_saveListAction, &QAction::triggered, this, &VCTopWidget::saveListRequested);
    connect(m_openListAction, &QAction::triggered, this, &VCTopWidget::openListRequested);
    connect(m_homepageAction, &QAction::triggered, this, &VCTopWidget::slots_homepageAction);
    connect(m_howcutAction, &QAction::triggered, this, &VCTopWidget::slots_howcutAction);
    connect(m_howjoinAction, &QAction::triggered, this, &VCTopWidget::slots_howjoinAction);
    connect(m_supportAction, &QAction::triggered, this, &VCTopWidget::slots_supportAction);
    connect(m_checkUpgradeAction, &QAction::triggered, this,
            &VCTopWidget::slots_checkUpgradeAction);
    connect(m_languageMenu, &QMenu::triggered, this, &VCTopWidget::slots_all_language_Action);
    connect(m_AddButton, &MyTempButton5::clicked, this, &VCTopWidget::m_AddButton_slots);
    connect(m_ClearButton, &MyTempButton5::clicked, this, &VCTopWidget::m_ClearButton_slots);

    LayoutChildren();
    ApplySkin();
    Retranslate();
    applyCommandStates();
}

void VCTopWidget::LayoutChildren()
{
    const int w = width();
    m_logoLabel->setGeometry(Scaled(5), Scaled(5), Scaled(26), Scaled(26));
    m_titleLabel->setGeometry(Scaled(36), Scaled(2), Scaled(360), Scaled(30));
    m_closeButton->setButtonGeometry(w - Scaled(34), Scaled(8), Scaled(24), Scaled(24));
    m_minButton->setButtonGeometry(w - Scaled(34 + 44), Scaled(8), Scaled(24), Scaled(24));
    m_menuButton->setButtonGeometry(w - Scaled(34 + 88), Scaled(8), Scaled(24), Scaled(24));
    m_bugButton->setButtonGeometry(w - Scaled(34 + 132), Scaled(8), Scaled(24), Scaled(24));

    m_commandWidget->setGeometry(0, Scaled(40), w, Scaled(54));
    m_commandInner->setGeometry(0, 0, m_commandWidget->width(), m_commandWidget->height());
    placeCommandButtons();
    m_versionLabel->setGeometry(m_commandWidget->width() - Scaled(175), Scaled(2), Scaled(160),
                                Scaled(20));
}

void VCTopWidget::placeCommandButtons()
{
    m_AddButton->setGeometry(Scaled(18), Scaled(9), CommandButtonWidth(m_AddButton), Scaled(33));
    m_ClearButton->setGeometry(m_AddButton->x() + m_AddButton->width() + Scaled(15), Scaled(9),
                               CommandButtonWidth(m_ClearButton), Scaled(33));
}

void VCTopWidget::ApplySkin()
{
    const SkinPalette* skin = SkinPalette::instance();
    const QString background = skin->colorOf(QStringLiteral("leftbgcolor"));

    // Through the palette, not a style sheet, so the colour does not cascade
    // onto the children.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(background));
    setPalette(palette);
    setAutoFillBackground(true);

    SetStyleSheet(m_commandWidget,
                  QStringLiteral("QWidget{border: 1px solid ") +
                      skin->colorOf(QStringLiteral("linecolor")) +
                      QStringLiteral(
                          "; border-left:none;border-bottom:none;border-right:none; border-radius: "
                          "0px;background-color:") +
                      background + QStringLiteral(";}"));

    ApplySpriteButton(m_closeButton, Sprites::kTopBarCloseButton);
    ApplySpriteButton(m_minButton, Sprites::kTopBarMinimiseButton);
    ApplySpriteButton(m_menuButton, Sprites::kTopBarMenuButton);
    ApplySpriteButton(m_bugButton, Sprites::kTopBarFeedbackButton);

    ApplyCommandButtonSkin(m_AddButton, Sprites::RegionId::AddFilesIcon);
    ApplyCommandButtonSkin(m_ClearButton, Sprites::RegionId::ClearAllIcon);
}

void VCTopWidget::Retranslate()
{
    SetStyleSheet(m_titleLabel,
                  QStringLiteral("QLabel{font-size:") + QString::number(Scaled(14)) +
                      QStringLiteral("px;color:") +
                      SkinPalette::instance()->colorOf(QStringLiteral("company_color")) +
                      QStringLiteral(";font-weight:600;}"));
    m_titleLabel->setText(tr("Tarnwick Framewright"));
    m_titleLabel->adjustSize();

    m_versionLabel->setText(tr("Ver: ") + QStringLiteral(SPLICORA_VERSION));
    SetStyleSheet(m_versionLabel, QStringLiteral("QLabel{font-size:") +
                                      QString::number(Scaled(10)) +
                                      QStringLiteral("px;color:#a3a3a5;}"));

    m_AddButton->setText(tr("Add Files"));
    m_ClearButton->setText(tr("Clear All"));
    // The captions' widths decide the buttons' widths.
    placeCommandButtons();

    m_menuButton->setToolTip(tr("Menu"));
    m_bugButton->setToolTip(tr("Feedback"));
    m_minButton->setToolTip(tr("Minimize"));
    m_closeButton->setToolTip(tr("Close"));

    m_saveListAction->setText(tr("Save List…"));
    m_openListAction->setText(tr("Open List…"));
    m_homepageAction->setText(tr("Homepage"));
    m_howcutAction->setText(tr("How to cut video"));
    m_howjoinAction->setText(tr("How to join videos"));
    m_supportAction->setText(tr("Support"));
    m_checkUpgradeAction->setText(tr("Update"));
    m_languageMenu->setTitle(tr("Language"));
    SetStyleSheet(m_mainMenu, MenuStyleSheet(112));
    SetStyleSheet(m_languageMenu, MenuStyleSheet(112));
}

void VCTopWidget::RefreshButtons(int rowCount)
{
    m_rowCount = rowCount;
    applyCommandStates();
    emit startEnabledChanged(rowCount > 0);
}

void VCTopWidget::setJobRunning(bool running)
{
    m_jobRunning = running;
    applyCommandStates();
}

void VCTopWidget::applyCommandStates()
{
    const bool hasRows = m_rowCount > 0;
    SetCommandEnabled(m_AddButton, !m_jobRunning);
    SetCommandEnabled(m_ClearButton, hasRows && !m_jobRunning);
    m_ClearButton->setVisible(hasRows);
    // Opening a list replaces the rows the job is reading; saving only reads them.
    m_openListAction->setEnabled(!m_jobRunning);
}

void VCTopWidget::closeButton_slots()
{
    // Closing the window ends the preview player it started. Nothing is
    // ended by name: a player the user runs beside this program is theirs.
    window()->close();
}

void VCTopWidget::minButton_slots()
{
    window()->showMinimized();
}

QPoint VCTopWidget::menuPosition() const
{
    // At the right end of the bar like the button, but below it: the menu
    // must not cover the bar it was opened from.
    const QWidget* main = window();
    return QPoint(main->x() + width() - Scaled(120),
                  m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height())).y());
}

void VCTopWidget::menuButton_slots()
{
    m_mainMenu->exec(menuPosition());
}

void VCTopWidget::bugButton_slots()
{
    openHelp(HelpLink::Feedback);
}

void VCTopWidget::slots_homepageAction()
{
    openHelp(HelpLink::Homepage);
}

void VCTopWidget::slots_howcutAction()
{
    openHelp(HelpLink::HowToCut);
}

void VCTopWidget::slots_howjoinAction()
{
    openHelp(HelpLink::HowToJoin);
}

void VCTopWidget::slots_supportAction()
{
    openHelp(HelpLink::Support);
}

void VCTopWidget::slots_checkUpgradeAction()
{
    emit updateCheckRequested();
}

void VCTopWidget::openHelp(HelpLink link)
{
    const QString code = MainWindow() ? MainWindow()->languageCode : QString();
    const QUrl url = HelpLinkUrl(link, AppFolder(), code);
    if (!QDesktopServices::openUrl(url))
        qDebug("cannot open %s", qUtf8Printable(url.toString()));
}

void VCTopWidget::LoadLanguages()
{
    m_languageNames.clear();
    m_languageCodes.clear();
    for (QAction* action : m_languageMenu->actions()) {
        m_languageMenu->removeAction(action);
        delete action;
    }
    for (const LanguageEntry& entry : ReadLanguageList(AppFolder())) {
        m_languageNames << entry.name;
        m_languageCodes << entry.code;
        QAction* action = m_languageMenu->addAction(entry.name);
        // Found again by its code: two languages may share a display name.
        action->setData(entry.code);
        action->setCheckable(true);
    }
    SetLanguage(CodeOfStoredLanguage(ReadSetting(QStringLiteral("Language"))));
}

void VCTopWidget::slots_all_language_Action(QAction* action)
{
    if (!action)
        return;
    int index = m_languageCodes.indexOf(action->data().toString());
    if (index < 0)
        index = 0;
    SetLanguage(m_languageCodes.value(index, QStringLiteral("EN")));
}

void VCTopWidget::SetLanguage(const QString& requested)
{
    const QString code = InstallLanguage(AppFolder(), requested);
    if (NeedsCjkFont(code))
        ApplyOtherFonts(AppFolder());
    else
        ApplyLatinFonts(AppFolder());
    m_mainMenu->hide();
    for (QAction* action : m_languageMenu->actions())
        action->setChecked(action->data().toString() == code);

    if (VCMainWidget* main = MainWindow()) {
        main->RetranslateAll();
        main->languageCode = code;
    } else {
        Retranslate();
    }

    WriteSetting(QStringLiteral("Language"),
                 StoredLanguageWithCode(ReadSetting(QStringLiteral("Language")), code));
}

void VCTopWidget::m_AddButton_slots()
{
    // The buttons ignore the mouse while disabled; this covers any other way in.
    if (m_jobRunning)
        return;
    // Choosing files that cannot be read would only end in silence.
    if (MediaToolMissing()) {
        OpenNotice(this, MissingMediaToolText());
        return;
    }
    const QStringList paths = AddFiles(this);
    if (!paths.isEmpty())
        emit filesChosen(paths);
}

void VCTopWidget::m_ClearButton_slots()
{
    if (m_jobRunning)
        return;
    emit clearAllRequested();
}
