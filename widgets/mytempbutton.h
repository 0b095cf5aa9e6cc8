#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QWidget>

// Push buttons drawn entirely by style sheets, one sheet per state. Owners
// fill the sheets with SkinPalette::buttonStyleSheet (states 0, 1 and 2) or
// with sheets of their own. Mouse events are handled only while the button's
// own enabled flag is set, and are passed on to the parent afterwards.

// A text button: normal, hover and disabled sheets.
class MyTempButton2 : public QLabel
{
    Q_OBJECT

public:
    explicit MyTempButton2(QWidget* parent = nullptr);

    void setNormalStyleSheet(const QString& sheet) { m_normalStyle = sheet; }
    void setHoverStyleSheet(const QString& sheet) { m_hoverStyle = sheet; }
    void setDisabledStyleSheet(const QString& sheet) { m_disabledStyle = sheet; }
    // All three at once, in the order of the palette's button states.
    void setStateStyleSheets(const QString& normal, const QString& hover, const QString& disabled);
    QString normalStyleSheet() const { return m_normalStyle; }
    QString hoverStyleSheet() const { return m_hoverStyle; }
    QString disabledStyleSheet() const { return m_disabledStyle; }

    // Stores the flag and shows the normal or the disabled sheet.
    void setEnabledState(bool enabled);
    bool isEnabledState() const { return m_enabled; }

signals:
    void clicked();
    void Pressclicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Space or Enter presses a button that has the keyboard focus.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applySheet(const QString& sheet);

    bool m_enabled = true;
    QString m_normalStyle;
    QString m_hoverStyle;
    QString m_disabledStyle;
};

// Fills the button's three sheets from the skin palette's button scheme:
// font `fontUnits` scaled, square corners, all four borders. The enabled
// flag is kept and its sheet shown.
void ApplyPaletteButtonSheets(MyTempButton2* button, int scheme, int fontUnits, int fontWeight);

// A panel button with an icon: its sheets are shown on an inner label that
// covers the whole button (and carries the caption text), with an icon label
// and a third label on top, both placed by the owner. Normal, hover, pressed
// and disabled sheets.
class MyTempButton5 : public QWidget
{
    Q_OBJECT

public:
    explicit MyTempButton5(QWidget* parent = nullptr);

    void setNormalStyleSheet(const QString& sheet) { m_normalStyle = sheet; }
    void setHoverStyleSheet(const QString& sheet) { m_hoverStyle = sheet; }
    void setPressedStyleSheet(const QString& sheet) { m_pressedStyle = sheet; }
    void setDisabledStyleSheet(const QString& sheet) { m_disabledStyle = sheet; }
    // Normal, hover and pressed, in the order of the palette's button states.
    void setStateStyleSheets(const QString& normal, const QString& hover, const QString& pressed);
    QString normalStyleSheet() const { return m_normalStyle; }
    QString hoverStyleSheet() const { return m_hoverStyle; }
    QString pressedStyleSheet() const { return m_pressedStyle; }
    QString disabledStyleSheet() const { return m_disabledStyle; }

    void setEnabledState(bool enabled);
    bool isEnabledState() const { return m_enabled; }

    // The caption shown on the inner label.
    void setText(const QString& text);
    QString text() const;

    // Places the icon label and shows `icon` scaled to it.
    void setIcon(const QPixmap& icon, int x, int y, int width, int height);
    // Places the third child label.
    void setThirdGeometry(int x, int y, int width, int height);

    QLabel* styleLabel() const { return m_styleLabel; }
    QLabel* iconLabel() const { return m_iconLabel; }
    QLabel* thirdLabel() const { return m_thirdLabel; }

signals:
    void clicked();
    void Pressclicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Space or Enter presses a button that has the keyboard focus.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applySheet(const QString& sheet);

    bool m_enabled = true;
    QString m_normalStyle;
    QString m_hoverStyle;
    QString m_pressedStyle;
    QString m_disabledStyle;

    QLabel* m_styleLabel = nullptr;
    QLabel* m_iconLabel = nullptr;
    QLabel* m_thirdLabel = nullptr;
};
