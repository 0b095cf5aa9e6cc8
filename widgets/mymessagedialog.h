#pragma once

#include <QDialog>
#include <QPoint>

class QLabel;
class MyPushButton;
class MyTempButton2;

// The frameless message dialog: a notice with one button or a question with
// two, dragged by any mouse button anywhere on it. Callers construct it, call
// setupMessage(), then setSingleButton() (a notice) or setButtonCaptions()
// (a question), run it with exec() and read result().
class MyMessageDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kBaseWidth = 480;
    static constexpr int kBaseHeight = 252;

    explicit MyMessageDialog(QWidget* parent = nullptr);

    // Lays out and styles the children, shows `text` and both buttons with
    // their default captions ("Cancel", "OK").
    void setupMessage(const QString& text);
    // A notice: Cancel hidden, OK with `caption` centred where the buttons sit.
    void setSingleButton(const QString& caption);
    // A question: captions of the left (Cancel, false) and right (OK, true)
    // buttons.
    void setButtonCaptions(const QString& cancelCaption, const QString& okCaption);

    // Which answer Enter gives: the right-hand (OK) button by default; a
    // dialog whose right-hand button does more than close (opens a folder)
    // lets Enter give the left-hand one.
    void setEnterPressesOk(bool ok) { m_enterPressesOk = ok; }

    // True after OK; false after Cancel, the cross, Escape or closing, and
    // before any answer. (Shadows QDialog::result(), whose code exec() also
    // returns: Accepted after OK, Rejected otherwise.)
    bool result() const { return m_result; }

    QWidget* backgroundPanel() const { return m_background; }
    MyPushButton* closeButton() const { return m_closeButton; }
    QLabel* titleLabel() const { return m_titleLabel; }
    QLabel* iconLabel() const { return m_iconLabel; }
    QLabel* messageLabel() const { return m_messageLabel; }
    MyTempButton2* cancelButton() const { return m_cancelButton; }
    MyTempButton2* okButton() const { return m_okButton; }

public slots:
    void closeButton_slots();
    void CancelButton_slots();
    void OKButton_slots();
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutChildren();
    void applySkin();

    QWidget* m_background = nullptr;
    MyPushButton* m_closeButton = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_iconLabel = nullptr;
    QLabel* m_messageLabel = nullptr;
    MyTempButton2* m_cancelButton = nullptr;
    MyTempButton2* m_okButton = nullptr;
    bool m_enterPressesOk = true;

    bool m_result = false;
    bool m_singleButton = false;
    bool m_dragging = false;
    QPoint m_dragPosition;
};
