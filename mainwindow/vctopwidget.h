#pragma once

#include <QStringList>
#include <QWidget>

enum class HelpLink;
class QAction;
class QLabel;
class QMenu;
class MyPushButton;
class MyTempButton5;

// The strip across the top of the frameless main window: it stands in for the
// window frame (logo, title, minimise, close), carries the list commands
// "Add Files" and "Clear All", and opens the main menu (saving and opening a
// list of files, help pages, update check, language). It holds the language
// list and performs the switch. The main window calls LayoutChildren(),
// ApplySkin() and Retranslate() again whenever size, skin or language change.
class VCTopWidget : public QWidget
{
    Q_OBJECT

public:
    explicit VCTopWidget(QWidget* parent = nullptr);

    void LayoutChildren();
    void ApplySkin();
    void Retranslate();

    // Reads the language list beside the program, fills the Language menu and
    // applies the stored language. Called once, by the main window.
    void LoadLanguages();
    // Applies a language code (English when its file is missing), sets every
    // text of the window again and stores the code.
    void SetLanguage(const QString& code);
    const QStringList& languageNames() const { return m_languageNames; }
    const QStringList& languageCodes() const { return m_languageCodes; }

    // Called after every change of the list's row count.
    void RefreshButtons(int rowCount);
    // While a job runs, "Add Files" and "Clear All" cannot act and show their
    // disabled look, and the menu cannot open a list; afterwards they follow
    // the row count again.
    void setJobRunning(bool running);
    bool isJobRunning() const { return m_jobRunning; }

    MyTempButton5* addButton() const { return m_AddButton; }
    MyTempButton5* clearButton() const { return m_ClearButton; }
    MyPushButton* closeButton() const { return m_closeButton; }
    MyPushButton* minimiseButton() const { return m_minButton; }
    MyPushButton* menuButton() const { return m_menuButton; }
    MyPushButton* feedbackButton() const { return m_bugButton; }
    QMenu* mainMenu() const { return m_mainMenu; }
    QMenu* languageMenu() const { return m_languageMenu; }
    QAction* saveListAction() const { return m_saveListAction; }
    QAction* openListAction() const { return m_openListAction; }
    // Where the main menu opens: below the menu button, in screen coordinates.
    QPoint menuPosition() const;
    QLabel* titleLabel() const { return m_titleLabel; }
    QLabel* versionLabel() const { return m_versionLabel; }
    QLabel* logoLabel() const { return m_logoLabel; }
    QWidget* commandStrip() const { return m_commandWidget; }

signals:
    // Media files the user chose, in the dialog's order, for the probe queue.
    void filesChosen(const QStringList& paths);
    // The owner stops the preview and empties the list.
    void clearAllRequested();
    // Whether a job can start: true while the list has rows.
    void startEnabledChanged(bool enabled);
    // The menu's "Update" entry.
    void updateCheckRequested();
    // The menu's "Save List…" and "Open List…" entries.
    void saveListRequested();
    void openListRequested();

public slots:
    void closeButton_slots();
    void minButton_slots();
    void menuButton_slots();
    void bugButton_slots();
    void slots_homepageAction();
    void slots_howcutAction();
    void slots_howjoinAction();
    void slots_supportAction();
    void slots_checkUpgradeAction();
    void slots_all_language_Action(QAction* action);
    void m_AddButton_slots();
    void m_ClearButton_slots();

private:
    void applyCommandStates();
    void placeCommandButtons();
    void openHelp(HelpLink link);

    int m_rowCount = 0;
    bool m_jobRunning = false;

    QLabel* m_logoLabel = nullptr;
    QLabel* m_titleLabel = nullptr;
    MyPushButton* m_closeButton = nullptr;
    MyPushButton* m_minButton = nullptr;
    MyPushButton* m_menuButton = nullptr;
    MyPushButton* m_bugButton = nullptr;
    // The command strip and the inner widget that holds its buttons.
    QWidget* m_commandWidget = nullptr;
    QWidget* m_commandInner = nullptr;
    MyTempButton5* m_AddButton = nullptr;
    MyTempButton5* m_ClearButton = nullptr;
    QLabel* m_versionLabel = nullptr;
    QMenu* m_mainMenu = nullptr;
    QMenu* m_languageMenu = nullptr;
    QAction* m_saveListAction = nullptr;
    QAction* m_openListAction = nullptr;
    QAction* m_homepageAction = nullptr;
    QAction* m_howcutAction = nullptr;
    QAction* m_howjoinAction = nullptr;
    QAction* m_supportAction = nullptr;
    QAction* m_checkUpgradeAction = nullptr;
    // Parallel, in the list file's order.
    QStringList m_languageNames;
    QStringList m_languageCodes;
};
