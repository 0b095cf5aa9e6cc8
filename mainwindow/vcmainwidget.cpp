#include "mainwindow/vcmainwidget.h"

#include "convert/convertprogresswidget.h"
#include "convert/cutmode.h"
#include "convert/vcbottomwidget.h"
#include "list/videoitemwidget.h"
#include "list/videolistwidget.h"
#include "mainwindow/mainlayout.h"
#include "mainwindow/notices.h"
#include "mainwindow/vctopwidget.h"
#include "media/addmedia.h"
#include "media/frameindex.h"
#include "media/probequeue.h"
#include "media/resultprobe.h"
#ifdef Q_OS_WIN
#include "media/toolfiles.h"
#include "media/workfolder.h"
#endif
#include "app/settings.h"
#include "player/myqtimeedit.h"
#include "player/trimlogic.h"
#include "player/videoplayerwidget.h"
#include "skin/scale.h"
#include "update/noupdatewidget.h"
#include "update/updatelogic.h"
#include "widgets/focusring.h"
#include "widgets/mymessagedialog.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"
#include "widgets/sprites.h"

#include <QApplication>

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <utility>

#include <algorithm>

namespace {
VCMainWidget* g_mainWindow = nullptr;

// Adds one font file; returns its first family, or empty when it did not load.
// A language switch asks for the same files again; each is added once.
QString AddFontFile(const QString& path)
{
    static QHash<QString, QString> added;
    const auto known = added.constFind(path);
    if (known != added.constEnd())
        return *known;
    // Read as data: the CJK font file has no font extension, which some
    // systems insist on, and is used where it lies rather than copied to a
    // shared folder where another user could swap it.
    QFile file(path);
    const int id = file.open(QIODevice::ReadOnly)
                       ? QFontDatabase::addApplicationFontFromData(file.readAll())
                       : -1;
    const QStringList families =
        id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    const QString family = families.isEmpty() ? QString() : families.first();
    // A file that did not load is tried again: it may have been put back.
    if (!family.isEmpty())
        added.insert(path, family);
    return family;
}
// Every start and every language change ask for a font; setting the one in
// use again would only make every widget lay itself out once more.
void SetApplicationFont(const QFont& font)
{
    if (QApplication::font() != font)
        QApplication::setFont(font);
}
} // namespace

VCMainWidget* MainWindow()
{
    return g_mainWindow;
}

void CenterOverMainWindow(QWidget* widget)
{
    if (!widget || !g_mainWindow)
        return;
    widget->move(CenteredOver(g_mainWindow->geometry(), widget->size()));
}

void ApplyLatinFonts(const QString& folder)
{
    AddFontFile(folder + QStringLiteral("/font/Arial.ttf"));
    AddFontFile(folder + QStringLiteral("/font/Lato-Bold.ttf"));
    const QString family = AddFontFile(folder + QStringLiteral("/font/Lato-Regular.ttf"));
    if (!family.isEmpty())
        SetApplicationFont(QFont(family, 10));
}

void ApplyOtherFonts(const QString& folder)
{
    const QString wanted = QStringLiteral("microsoft yahei");
    const QString wantedNative =
        QString::fromUtf8("\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91");
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        if (family.toLower() == wanted || family == wantedNative) {
            SetApplicationFont(QFont(family));
            return;
        }
        qDebug("%s", qUtf8Printable(family));
    }
    const QString family = AddFontFile(folder + QStringLiteral("/font/sum"));
    if (!family.isEmpty())
        SetApplicationFont(QFont(family, 10));
}

QString FileMd5Hex(const QString& path)
{
    return FileMd5Upper(path).toLower();
}

VCMainWidget::VCMainWidget(QWidget* parent) : QWidget(parent)
{
    QElapsedTimer building;
    building.start();
    g_mainWindow = this;

    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    const QScreen* screen = QGuiApplication::primaryScreen();
    float scale = 1.0f;
    if (screen) {
        const QRect desktop = screen->geometry();
        scale = ComputeScaleFactor(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY(),
                                   true, desktop.width(), desktop.height());
    } else {
        scale = ComputeScaleFactor(96.0, 96.0, false, 0, 0);
    }
    SetScaleFactor(scale);
    resize(Scaled(1202), Scaled(752));
    // Never smaller than the design, unless the screen itself is.
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, width(), height());
    setMinimumSize(std::min(width(), available.width()), std::min(height(), available.height()));
    qApp->installEventFilter(this);

    LoadSpriteSheets();
    m_background = new QWidget(this);
    m_topBar = new VCTopWidget(this);
    m_mediaList = new VideoListWidget(this);
    m_probeQueue = new ProbeQueue(this);
    m_playerPanel = new VideoPlayerWidget(this);
    m_bottomBar = new VCBottomWidget(this);
    m_progressOverlay = new ConvertProgressWidget(this);

    connect(m_topBar, &VCTopWidget::filesChosen, this, &VCMainWidget::AddMediaPaths);
    connect(m_topBar, &VCTopWidget::clearAllRequested, this, &VCMainWidget::ClearAll);
    connect(m_topBar, &VCTopWidget::updateCheckRequested, this, &VCMainWidget::CheckForUpdatesNow);
    connect(m_topBar, &VCTopWidget::saveListRequested, this, &VCMainWidget::saveJobList_slots);
    connect(m_topBar, &VCTopWidget::openListRequested, this, &VCMainWidget::openJobList_slots);
    connect(m_mediaList, &VideoListWidget::saveListRequested, this,
            &VCMainWidget::saveJobList_slots);
    connect(m_mediaList, &VideoListWidget::openListRequested, this,
            &VCMainWidget::openJobList_slots);
    connect(m_mediaList, &VideoListWidget::filesDropped, this, &VCMainWidget::AddMediaPaths);
    connect(m_mediaList, &VideoListWidget::playItemRequested, this, &VCMainWidget::PlayItem);
    connect(m_mediaList, &VideoListWidget::rowCountChanged, m_topBar, &VCTopWidget::RefreshButtons);
    connect(m_mediaList, &VideoListWidget::deleteAllRequested, this, &VCMainWidget::ClearAll);
    connect(m_topBar, &VCTopWidget::startEnabledChanged, m_bottomBar,
            &VCBottomWidget::setStartEnabled);
    // An empty list leaves nothing to preview or trim.
    connect(m_topBar, &VCTopWidget::startEnabledChanged, m_playerPanel, [this](bool enabled) {
        if (!enabled)
            m_playerPanel->setControlsEnabled(false);
    });
    connect(m_mediaList, &VideoListWidget::outputFormatChanged, m_bottomBar,
            &VCBottomWidget::setOutputFormatItem);
    connect(m_mediaList, &VideoListWidget::rowCountChanged, m_bottomBar,
            [this] { m_bottomBar->refreshRows(); });
    // Looking for rows the engine will need reads every row: while a long
    // list is arriving it is done a few times a second, not once per row.
    m_prefetchTimer.setSingleShot(true);
    connect(&m_prefetchTimer, &QTimer::timeout, m_bottomBar, &VCBottomWidget::prefetchEngineInfo);
    connect(m_mediaList, &VideoListWidget::rowCountChanged, this, [this] {
        if (!m_prefetchTimer.isActive())
            m_prefetchTimer.start(m_probeQueue->isBusy() ? 200 : 0);
    });
    connect(m_mediaList, &VideoListWidget::outputFormatChanged, m_bottomBar,
            &VCBottomWidget::prefetchEngineInfo);
    connect(m_progressOverlay, &ConvertProgressWidget::abortRequested, m_bottomBar,
            &VCBottomWidget::abortConversion);
    m_playerPanel->setCutMode(SavedCutMode());
    // While a job reads the rows, nothing may add, remove or reorder them.
    connect(m_bottomBar, &VCBottomWidget::runningChanged, m_topBar, &VCTopWidget::setJobRunning);
    connect(m_bottomBar, &VCBottomWidget::runningChanged, m_mediaList,
            &VideoListWidget::setJobRunning);
    connect(m_bottomBar, &VCBottomWidget::cutModeChanged, m_playerPanel,
            &VideoPlayerWidget::setCutMode);
    // Rows that are not on preview show what a keyframe cut will keep too.
    connect(m_bottomBar, &VCBottomWidget::cutModeChanged, this,
            [this] { snapRowsToKeyframes(QString()); });
    connect(FrameIndexCache::instance(), &FrameIndexCache::indexReady, this,
            &VCMainWidget::snapRowsToKeyframes);
    connect(m_mediaList, &VideoListWidget::rowCountChanged, this,
            &VCMainWidget::forgetUnlistedIndexes);
    connect(m_probeQueue, &ProbeQueue::probed, this, &VCMainWidget::addProbedRow);
    connect(
        m_probeQueue, &ProbeQueue::failed, this, [this](const QString& path, ProbeRefusal reason) {
            m_refused.append({RefusedFileName(path), reason});
            // Its entry would otherwise wait for a row that never comes
            // and go to a later row of the same file.
            const auto due =
                std::find_if(m_listEntriesDue.begin(), m_listEntriesDue.end(),
                             [&path](const JobListEntry& entry) { return entry.filePath == path; });
            if (due != m_listEntriesDue.end())
                m_listEntriesDue.erase(due);
        });
    connect(m_probeQueue, &ProbeQueue::busyChanged, this, [this](bool busy) {
        if (!busy && !m_refused.isEmpty())
            showRefusalNotice();
        if (!busy) {
            for (const QString& path : std::exchange(m_indexLater, {})) {
                if (m_indexedPaths.contains(path))
                    requestIndex(path);
            }
        }
        m_mediaList->setBusyNote(busy ? tr("Adding files...") : QString());
        if (busy != m_busyCursor) {
            m_busyCursor = busy;
            if (busy)
                QApplication::setOverrideCursor(Qt::BusyCursor);
            else
                QApplication::restoreOverrideCursor();
        }
        if (!busy && m_previewPending) {
            m_previewPending = false;
            m_playerPanel->setItem(m_playingItem);
        }
    });
    // The blocking single-file path ends in the same list.
    SetMediaSink([this](const ProbeResult& result) { addProbedRow(result); });

    LayoutChildren();
    m_progressOverlay->hide();
    ApplySkinAll();
    // The texts are filled by LoadLanguages below, in the chosen language.

#ifdef Q_OS_WIN
    // Copies of the media tool that an earlier conversion staged are stale:
    // the tool may have been updated since.
    CopyToolFiles(WorkFolder(), true);
#endif

    m_topBar->LoadLanguages();
    addShortcuts();
    setUpTabOrder();

    m_dragging = false;
    // Once the window is up and answering: the request must not slow the
    // start. Counted from the start of this constructor, and precise: a
    // coarse timer may fire a twentieth early or late.
    QTimer::singleShot(std::max<qint64>(0, 4800 - building.elapsed()), Qt::PreciseTimer, this,
                       &VCMainWidget::firstCheckUpdate_slots);
}

void VCMainWidget::addShortcuts()
{
    // These work wherever the focus is; the plain keys are in handleKey().
    const auto add = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { m_topBar->m_AddButton_slots(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Return), [this] { m_bottomBar->convertAllButton_slots(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Enter), [this] { m_bottomBar->convertAllButton_slots(); });
    add(QKeySequence(Qt::Key_F1), [this] { m_topBar->slots_homepageAction(); });
}

void VCMainWidget::setUpTabOrder()
{
    // Left to right, top to bottom: the title row, the command strip, the
    // list, the player's fields and buttons, the bottom bar.
    QList<QWidget*> chain;
    chain << m_topBar->feedbackButton() << m_topBar->menuButton() << m_topBar->minimiseButton()
          << m_topBar->closeButton() << m_topBar->addButton() << m_topBar->clearButton()
          << m_mediaList->scrollArea() << m_playerPanel->startField() << m_playerPanel->endField()
          << m_playerPanel->playButton() << m_playerPanel->pauseButton()
          << m_playerPanel->setStartButton() << m_playerPanel->setEndButton()
          << m_playerPanel->resetButton() << m_bottomBar->exactModeButton()
          << m_bottomBar->keyframeModeButton() << m_bottomBar->chooseFolderButton()
          << m_bottomBar->openFolderButton() << m_bottomBar->startButton();
    for (QWidget* widget : chain) {
        if (qobject_cast<MyPushButton*>(widget) || qobject_cast<MyTempButton2*>(widget) ||
            qobject_cast<MyTempButton5*>(widget))
            FocusRing::attach(widget);
    }
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

bool VCMainWidget::handleKey(const QKeyEvent* event)
{
    // A time field or a track choice keeps the keys it uses itself, and a
    // focused button takes the keys that press it.
    const QWidget* focus = QApplication::focusWidget();
    if (qobject_cast<const QAbstractSpinBox*>(focus) || qobject_cast<const QLineEdit*>(focus) ||
        qobject_cast<const QComboBox*>(focus))
        return false;
    if ((qobject_cast<const MyPushButton*>(focus) || qobject_cast<const MyTempButton2*>(focus) ||
         qobject_cast<const MyTempButton5*>(focus)) &&
        IsPressKey(event))
        return false;
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    const bool shift = modifiers == Qt::ShiftModifier;
    if (modifiers != Qt::NoModifier && !shift)
        return false;
    switch (event->key()) {
    case Qt::Key_Left:
        shift ? m_playerPanel->stepSeconds(-1) : m_playerPanel->stepFrames(-1);
        return true;
    case Qt::Key_Right:
        shift ? m_playerPanel->stepSeconds(1) : m_playerPanel->stepFrames(1);
        return true;
    default:
        break;
    }
    if (shift)
        return false;
    switch (event->key()) {
    case Qt::Key_Space:
        m_playerPanel->togglePlay();
        return true;
    case Qt::Key_I:
        m_playerPanel->setStartAtPlayhead();
        return true;
    case Qt::Key_O:
        m_playerPanel->setEndAtPlayhead();
        return true;
    case Qt::Key_Home:
        m_playerPanel->jumpToRangeStart();
        return true;
    case Qt::Key_End:
        m_playerPanel->jumpToRangeEnd();
        return true;
    case Qt::Key_Delete:
        m_mediaList->removeSelected();
        return true;
    case Qt::Key_Up:
        m_mediaList->selectNeighbour(-1);
        return true;
    case Qt::Key_Down:
        m_mediaList->selectNeighbour(1);
        return true;
    default:
        return false;
    }
}

NoUpdateWidget* VCMainWidget::updateWindow() const
{
    // Made on first use: the automatic check comes seconds after the window
    // is up, and a window nobody sees yet should not delay the first one.
    if (!m_updateWindow) {
        auto* self = const_cast<VCMainWidget*>(this);
        self->m_updateWindow = std::make_unique<NoUpdateWidget>();
        NoUpdateWidget* window = m_updateWindow.get();
        window->hide();
        window->setJobRunning(m_bottomBar->isConverting());
        connect(m_bottomBar, &VCBottomWidget::runningChanged, window,
                &NoUpdateWidget::setJobRunning);
        window->Retranslate();
    }
    return m_updateWindow.get();
}

void VCMainWidget::CheckForUpdatesNow()
{
    updateWindow();
    CenterOverMainWindow(m_updateWindow.get());
    m_updateWindow->resetPages();
    m_updateWindow->setAutomatic(false);
    m_updateWindow->startCheck();
    // Modal, but without a nested event loop: the answer arrives meanwhile.
    m_updateWindow->open();
}

void VCMainWidget::firstCheckUpdate_slots()
{
    const QDate today = UpdateToday();
    if (!DailyCheckDue(ReadSetting(QStringLiteral("ckfirstCheckUpdate")), today))
        return;
    WriteSetting(QStringLiteral("ckfirstCheckUpdate"), DailyCheckStamp(today));
    updateWindow();
    m_updateWindow->setAutomatic(true);
    m_updateWindow->startCheck();
}

VCMainWidget::~VCMainWidget()
{
    SetMediaSink(nullptr);
    if (m_busyCursor)
        QApplication::restoreOverrideCursor();
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
}

void VCMainWidget::LayoutChildren()
{
    const MainLayout layout = ComputeMainLayout(width(), height(), ScaleFactor());
    if (m_background)
        m_background->setGeometry(layout.background);
    m_topBarArea = layout.topBar;
    m_bottomBarArea = layout.bottomBar;
    m_progressOverlayArea = layout.progressOverlay;
    m_mediaListArea = layout.mediaList;
    m_playerPanelArea = layout.playerPanel;
    if (m_topBar) {
        m_topBar->setGeometry(layout.topBar);
        m_topBar->LayoutChildren();
    }
    if (m_mediaList) {
        m_mediaList->setGeometry(layout.mediaList);
        m_mediaList->layoutList();
    }
    if (m_playerPanel) {
        m_playerPanel->setGeometry(layout.playerPanel);
        m_playerPanel->layoutPanel();
    }
    if (m_bottomBar) {
        m_bottomBar->setGeometry(layout.bottomBar);
        m_bottomBar->LayoutChildren();
    }
    if (m_progressOverlay) {
        m_progressOverlay->setGeometry(layout.progressOverlay);
        m_progressOverlay->layoutChildren();
    }
}

void VCMainWidget::ShowProgress(bool show)
{
    if (show)
        m_progressOverlay->showWithAnimation();
    else
        m_progressOverlay->hideWithAnimation();
}

void VCMainWidget::AddMediaPaths(const QStringList& paths)
{
    // Without the tool every file would be refused one by one; say once
    // what is really wrong.
    if (!paths.isEmpty() && MediaToolMissing()) {
        OpenNotice(this, MissingMediaToolText());
        return;
    }
    m_probeQueue->enqueue(paths);
}

void VCMainWidget::BringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void VCMainWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_startNoticesDue) {
        m_startNoticesDue = false;
        // Space must play, not press whichever button comes first in the
        // Tab order.
        m_mediaList->scrollArea()->setFocus(Qt::OtherFocusReason);
        // Once the window is up, so the notice has something to sit over.
        QTimer::singleShot(0, this, &VCMainWidget::showStartNotices);
    }
}

void VCMainWidget::showStartNotices()
{
    QStringList texts;
    // The folder is settled once per run, so it is said once per run.
    static bool folderSaid = false;
    const QString folder = PrivateFolderNoticeText();
    if (!folder.isEmpty() && !folderSaid) {
        folderSaid = true;
        texts << folder;
    }
    if (MediaToolMissing())
        texts << MissingMediaToolText();
    showNoticesInTurn(texts);
}

void VCMainWidget::showNoticesInTurn(QStringList texts)
{
    if (texts.isEmpty())
        return;
    MyMessageDialog* dialog = OpenNotice(this, texts.takeFirst());
    connect(dialog, &QDialog::finished, this, [this, texts] { showNoticesInTurn(texts); });
}

void VCMainWidget::showRefusalNotice()
{
    QList<RefusedFile> refused;
    refused.swap(m_refused);

    // Not run with exec(): this comes from inside the queue's own signal, and
    // a nested event loop there would let the queue run into itself.
    auto* dialog = new MyMessageDialog(this);
    connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
    dialog->setupMessage(QString());
    QLabel* label = dialog->messageLabel();
    // A file name is never taken for markup.
    label->setTextFormat(Qt::PlainText);
    label->ensurePolished();

    // Each file on one line: a long name is shortened in its middle, where
    // its start and its extension stay readable.
    const QFontMetrics metrics(label->font());
    for (RefusedFile& file : refused) {
        const int room = label->width() - metrics.horizontalAdvance(QStringLiteral(": ") +
                                                                    RefusalReasonText(file.reason));
        file.name =
            metrics.elidedText(file.name, Qt::ElideMiddle, std::max(room, label->width() / 2));
    }
    // The message area does not grow: list what fits and count the rest.
    // It holds a handful of lines, so the search starts a little above that.
    int listed = std::min(static_cast<int>(refused.size()), 8);
    for (;;) {
        label->setText(RefusalNoticeText(refused, listed));
        if (listed == 0 || label->heightForWidth(label->width()) <= label->height())
            break;
        --listed;
    }
    dialog->setSingleButton(tr("OK"));
    CenterOverMainWindow(dialog);
    dialog->open();
}

void VCMainWidget::PlayItem(VideoItemWidget* item)
{
    m_playingItem = item;
    // Every added file is selected as it arrives; starting a player for each
    // of a batch would only compete with the probes. The last one selected
    // plays once the batch is in. The old preview stops at once all the same.
    if (item && m_probeQueue->isBusy()) {
        m_previewPending = true;
        m_playerPanel->setItem(nullptr);
        return;
    }
    m_previewPending = false;
    m_playerPanel->setItem(item);
}

namespace {
// Long enough for the preview to be up after the last file of a batch.
constexpr int kResultProbePreloadDelayMs = 2000;
} // namespace

void VCMainWidget::requestIndex(const QString& path)
{
    // Read ahead while the user looks at other rows, so neither the marks nor
    // a lossless job has to wait for it later. While files are still being
    // read for the list, a third tool would only slow the rows down; the
    // previewed row asks for its own index at once.
    m_indexedPaths.insert(path);
    if (m_probeQueue->isBusy()) {
        m_indexLater.append(path);
        return;
    }
    FrameIndexCache::instance()->request(path);
    // The result check's libraries load once the list is in, not while the
    // window starts, and not at the moment a batch ends: loading them holds
    // a lock that starting a process or a thread must wait for, and that is
    // when the preview and the keyframe listing start.
    if (!m_resultProbePreloadScheduled) {
        m_resultProbePreloadScheduled = true;
        QTimer::singleShot(kResultProbePreloadDelayMs, this, [] { PreloadResultProbe(); });
    }
}

void VCMainWidget::snapRowsToKeyframes(const QString& path)
{
    if (m_bottomBar->cutMode() != CutMode::Keyframe)
        return;
    for (VideoItemWidget* row : m_mediaList->itemsInUse()) {
        // The previewed row is snapped by the panel, with its slider.
        if (row == m_playerPanel->item() || (!path.isEmpty() && row->filePath != path))
            continue;
        const FrameIndex index = FrameIndexCache::instance()->index(row->filePath);
        if (!index.valid)
            continue;
        const SnappedRange range = SnapRangeForKeyframeCut(index, row->cutStart, row->cutEnd,
                                                           TrimLogic::kMinimumCutLength);
        if (range.start == row->cutStart && range.end == row->cutEnd)
            continue;
        row->cutStart = range.start;
        row->cutEnd = range.end;
        row->UpdateCutInfo();
    }
}

void VCMainWidget::forgetUnlistedIndexes()
{
    QSet<QString> listed;
    for (const VideoItemWidget* row : m_mediaList->itemsInUse())
        listed.insert(row->filePath);
    // The same file may sit in several rows; its index goes with the last.
    for (auto it = m_indexedPaths.begin(); it != m_indexedPaths.end();) {
        if (listed.contains(*it)) {
            ++it;
            continue;
        }
        FrameIndexCache::instance()->forget(*it);
        it = m_indexedPaths.erase(it);
    }
}

void VCMainWidget::ClearAll()
{
    PlayItem(nullptr);
    m_mediaList->removeAll();
    // An emptied list must not go on showing the old totals.
    m_mediaList->updateTotals();
    m_topBar->RefreshButtons(m_mediaList->itemCount());
}

namespace {
// Lists are kept where the user keeps them, which need not be where the
// media lies: the list dialogs remember a folder of their own and start,
// until one is chosen, where "Add Files" does.
constexpr QLatin1String kListFolderKey("jobListPath");
constexpr QLatin1String kAddFilesFolderKey("addVideoPath");
// Names listed in the notice about files gone from an opened list.
constexpr int kMostMissingNamesListed = 5;

QString ListDialogFolder()
{
    for (const QLatin1String key : {kListFolderKey, kAddFilesFolderKey}) {
        const QString folder = ReadSetting(key);
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

QString ListDialogFilter()
{
    return QCoreApplication::translate("VCMainWidget", "Splicora lists (*.splicora.json *.json)");
}
} // namespace

void VCMainWidget::addProbedRow(const ProbeResult& result)
{
    VideoItemWidget* row = m_mediaList->addItem(result);
    m_topBar->RefreshButtons(m_mediaList->itemCount());
    // Matched in order, not by path alone: a file listed twice has a range
    // for each of its rows.
    const auto due = std::find_if(
        m_listEntriesDue.begin(), m_listEntriesDue.end(),
        [&result](const JobListEntry& entry) { return entry.filePath == result.filePath; });
    if (due != m_listEntriesDue.end()) {
        const JobListEntry entry = *due;
        m_listEntriesDue.erase(due);
        applyListEntry(row, entry);
    }
    requestIndex(result.filePath);
}

void VCMainWidget::applyListEntry(VideoItemWidget* row, const JobListEntry& entry)
{
    // The file may have changed since the list was saved: the range is kept
    // within what it holds now. Without a duration there is nothing to keep
    // it within, and the row keeps the whole file.
    const qint64 duration = row->mediaInfo.duration;
    if (duration > 0) {
        const TrimLogic::CutRange range = TrimLogic::NormalizeCutRange(
            entry.cutStart, entry.cutEnd < 0 ? duration : entry.cutEnd, duration);
        if (range.start != row->cutStart || range.end != row->cutEnd) {
            row->cutStart = range.start;
            row->cutEnd = range.end;
            row->UpdateCutInfo();
        }
    }
    row->chooseAudioTrack(entry.audioTrackIndex);
    if (entry.outputFormat)
        row->setDefaultAction_slots();
    // Rows arrive while the preview waits for the batch; one already on
    // preview shows its range again.
    if (m_playerPanel->item() == row) {
        m_playerPanel->setItem(nullptr);
        m_playerPanel->setItem(row);
    }
    snapRowsToKeyframes(row->filePath);
}

bool VCMainWidget::SaveJobList(const QString& path)
{
    JobList list;
    list.hasMode = true;
    list.mode = m_bottomBar->cutMode();
    const int marked = m_mediaList->outputFormatId();
    for (const VideoItemWidget* row : m_mediaList->itemsInUse()) {
        JobListEntry entry;
        entry.filePath = row->filePath;
        entry.cutStart = row->cutStart;
        // Left open, so the list still means "to the end" if the file is
        // replaced by a longer one.
        entry.cutEnd = row->cutEnd >= row->mediaInfo.duration ? -1 : row->cutEnd;
        entry.audioTrackIndex = row->audioTrackIndex;
        entry.outputFormat = row->itemId == marked;
        list.entries.append(entry);
    }
    QString error;
    if (JobListFile::Write(path, list, &error))
        return true;
    OpenNotice(this, error);
    return false;
}

bool VCMainWidget::OpenJobList(const QString& path)
{
    // Like "Add Files": the job reads the rows this would replace.
    if (m_bottomBar->isConverting())
        return false;
    JobList list;
    QStringList missing;
    QString error;
    if (!JobListFile::Read(path, &list, &missing, &error)) {
        OpenNotice(this, error);
        return false;
    }
    if (list.entries.isEmpty()) {
        // Nothing of it can be opened; the rows the user has stay.
        if (missing.isEmpty())
            OpenNotice(this, tr("The list %1 holds no files.").arg(QFileInfo(path).fileName()));
        else
            showMissingListFilesNotice(missing);
        return false;
    }
    // Asked before the rows go, not after: without the tool nothing of the
    // list would come back.
    if (MediaToolMissing()) {
        OpenNotice(this, MissingMediaToolText());
        return false;
    }
    // Files still being added count too: they belong to the list replaced.
    const int rows = m_mediaList->itemCount() + m_probeQueue->pendingCount();
    if (rows > 0) {
        MyMessageDialog dialog(this);
        dialog.setupMessage(
            rows == 1 ? tr("Replace the file in the list with the saved list?")
                      : tr("Replace the %1 files in the list with the saved list?").arg(rows));
        dialog.messageLabel()->setTextFormat(Qt::PlainText);
        dialog.setButtonCaptions(tr("Cancel"), tr("Replace"));
        CenterOverMainWindow(&dialog);
        dialog.exec();
        if (!dialog.result() || m_bottomBar->isConverting())
            return false;
    }

    // What was being added, and what it refused, belong to the list replaced.
    m_refused.clear();
    m_listEntriesDue.clear();
    m_probeQueue->cancelAll();
    ClearAll();
    if (list.hasMode)
        m_bottomBar->setCutMode(list.mode);
    QStringList paths;
    for (const JobListEntry& entry : std::as_const(list.entries))
        paths << entry.filePath;
    m_listEntriesDue = list.entries;
    AddMediaPaths(paths);
    if (!missing.isEmpty())
        showMissingListFilesNotice(missing);
    return true;
}

void VCMainWidget::showMissingListFilesNotice(const QStringList& paths)
{
    const int count = static_cast<int>(paths.size());
    MyMessageDialog* dialog = OpenNotice(this, QString());
    QLabel* label = dialog->messageLabel();
    label->ensurePolished();
    // One line per file: a long name is shortened in its middle.
    const QFontMetrics metrics(label->font());
    QStringList lines{count == 1 ? tr("This file of the list was not found:")
                                 : tr("These files of the list were not found:")};
    const int listed = std::min(count, kMostMissingNamesListed);
    for (int i = 0; i < listed; ++i)
        lines << metrics.elidedText(RefusedFileName(paths.at(i)), Qt::ElideMiddle, label->width());
    if (listed < count)
        lines << tr("... and %n more.", nullptr, count - listed);
    label->setText(lines.join(QLatin1Char('\n')));
}

void VCMainWidget::saveJobList_slots()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save List"),
        QDir(ListDialogFolder()).filePath(QStringLiteral("list.splicora.json")),
        ListDialogFilter());
    if (path.isEmpty())
        return;
    WriteSetting(kListFolderKey, QFileInfo(path).absolutePath());
    SaveJobList(path);
}

void VCMainWidget::openJobList_slots()
{
    if (m_bottomBar->isConverting())
        return;
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open List"), ListDialogFolder(), ListDialogFilter());
    if (path.isEmpty())
        return;
    WriteSetting(kListFolderKey, QFileInfo(path).absolutePath());
    OpenJobList(path);
}

void VCMainWidget::closeEvent(QCloseEvent* event)
{
    // No probe may outlive the window that asked for it, and a job cut short
    // by closing leaves no partial result behind. Nobody is left to read a
    // notice about the files it refused.
    m_refused.clear();
    m_listEntriesDue.clear();
    m_probeQueue->cancelAll();
    m_playerPanel->setItem(nullptr);
    if (m_bottomBar->isConverting())
        m_bottomBar->abortConversion();
    QWidget::closeEvent(event);
}

void VCMainWidget::ApplySkinAll()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 255, 255));
    setPalette(palette);
    setAutoFillBackground(true);
    // From the picture cache: the title bar's logo has read it already.
    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/images/program.png"))));
    m_topBar->ApplySkin();
    m_mediaList->applySkin();
    m_playerPanel->applySkin();
    m_bottomBar->ApplySkin();
    m_progressOverlay->applySkin();
}

void VCMainWidget::RetranslateAll()
{
    setWindowTitle(QStringLiteral("Tarnwick Splicora"));
    m_topBar->Retranslate();
    m_mediaList->retranslate();
    m_playerPanel->retranslate();
    m_bottomBar->Retranslate();
    m_progressOverlay->prepareTexts();
    if (m_updateWindow)
        m_updateWindow->Retranslate();
}

void VCMainWidget::toggleMaximized()
{
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void VCMainWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QWidget::mouseDoubleClickEvent(event);
    if (event->position().y() <= 40.0 * double(ScaleFactor())) {
        m_dragging = false;
        toggleMaximized();
    }
}

bool VCMainWidget::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget && widget->window() == this && handleKey(static_cast<QKeyEvent*>(event));
    }
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();

    if (m_resizeEdges) {
        if (type == QEvent::MouseButtonRelease) {
            m_resizeEdges = {};
            return true;
        }
        if (type != QEvent::MouseMove)
            return true;
        const QPoint moved = global - m_resizePress;
        QRect area = m_resizeFrom;
        const QSize least = minimumSize();
        if (m_resizeEdges & Qt::LeftEdge)
            area.setLeft(std::min(area.left() + moved.x(), area.right() + 1 - least.width()));
        if (m_resizeEdges & Qt::RightEdge)
            area.setRight(std::max(area.right() + moved.x(), area.left() + least.width() - 1));
        if (m_resizeEdges & Qt::TopEdge)
            area.setTop(std::min(area.top() + moved.y(), area.bottom() + 1 - least.height()));
        if (m_resizeEdges & Qt::BottomEdge)
            area.setBottom(std::max(area.bottom() + moved.y(), area.top() + least.height() - 1));
        setGeometry(area);
        return true;
    }

    const Qt::Edges edges =
        isMaximized() ? Qt::Edges() : ResizeEdgesAt(size(), mapFromGlobal(global), Scaled(5) + 1);
    if (type == QEvent::MouseMove && mouse->buttons() == Qt::NoButton) {
        // The pointer says where the window can be taken hold of.
        if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
            setCursor(Qt::SizeFDiagCursor);
        else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
            setCursor(Qt::SizeBDiagCursor);
        else if (edges & (Qt::LeftEdge | Qt::RightEdge))
            setCursor(Qt::SizeHorCursor);
        else if (edges)
            setCursor(Qt::SizeVerCursor);
        else
            unsetCursor();
        return false;
    }
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton && edges) {
        m_dragging = false;
        // The window system resizes best, with its own feedback; without
        // one (or where it declines) the window follows the pointer itself.
        if (windowHandle() && windowHandle()->startSystemResize(edges))
            return true;
        m_resizeEdges = edges;
        m_resizeFrom = geometry();
        m_resizePress = global;
        return true;
    }
    return false;
}

void VCMainWidget::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    const QPoint point = event->position().toPoint();
    if (point.y() <= 40.0 * double(ScaleFactor()) && !isMaximized()) {
        m_dragging = true;
        m_pressPoint = point;
    }
}

void VCMainWidget::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if (m_dragging)
        move(pos() + (event->position().toPoint() - m_pressPoint));
}

void VCMainWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    m_dragging = false;
}

void VCMainWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutChildren();
}
