#pragma once

#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <array>

class MyLabel;

// The image button every window is built from. It shows one of four states
// (normal, hover, pressed, disabled) either as pictures or, when it has no
// pictures, as flat colours; its type decides which child labels it carries
// (an icon label that then receives the pictures, and a caption label).
//
// Image mode: the hover image path is set, or the shared sprite is in use.
// Each state's picture (its file, or the shared sprite) is cropped to the
// state's rectangle and scaled to the target (the icon label when there is
// one, the button otherwise) as its background. Colour mode fills the
// button's background with gray, light gray, dark gray and gray.
//
// Mouse events are never consumed: after the button has reacted they go on to
// the parent, so a window can drag by a button or follow a press on it.
class MyPushButton : public QLabel
{
    Q_OBJECT

public:
    enum State
    {
        Normal = 0,
        Hover = 1,
        Pressed = 2,
        Disabled = 3
    };
    static constexpr int kStateCount = 4;

    // Types: 0 no children and no background fill; 1 icon and caption placed
    // by the owner; 2 caption on the left three quarters and icon on the right
    // quarter; 3 and 4 image only; 5 icon above a 20-pixel caption line; 6
    // caption only, whose click is the button's click.
    static constexpr int kDefaultType = 3;

    explicit MyPushButton(QWidget* parent = nullptr);

    // Uses four picture files (an empty path leaves that state without a
    // picture), stops using the shared sprite, sets each loaded state's
    // rectangle to its whole picture and then applies `type`.
    void setStateImages(const QString& normal, const QString& hover, const QString& pressed,
                        const QString& disabled, int type);
    // The part of the state's picture to show; a null rectangle means all of it.
    void setStateRect(int state, int x, int y, int width, int height);
    // Crops every state out of `sprite` from now on (the sprite flag).
    void setSharedSprite(const QPixmap& sprite);
    // Creates, keeps or drops the child labels for `type`, lays them out and
    // shows the state that fits the enabled flag.
    void setType(int type);
    // Moves and resizes the button and lays its child labels out again. Any
    // other resize does the same.
    void setButtonGeometry(int x, int y, int width, int height);
    // The button's own enabled flag: a disabled button shows its disabled
    // state and ignores the mouse. The caption style sheet for the new flag
    // is applied to the caption label and the button when it is not empty.
    void setEnabledState(bool enabled);
    void setCaption(const QString& text, const QString& enabledSheet, const QString& disabledSheet);

    bool isEnabledState() const { return m_enabled; }
    int type() const { return m_type; }
    QString caption() const { return m_caption; }
    bool usesSharedSprite() const { return m_useSharedSprite; }
    bool isImageMode() const;
    State shownState() const { return m_shownState; }
    QRect stateRect(int state) const;
    // The flat colour of a state in colour mode.
    static QColor stateColour(State state);

    // The child labels of the current type, or null; owners of type 1 place
    // them.
    MyLabel* iconLabel() const { return m_iconLabel; }
    MyLabel* captionLabel() const { return m_captionLabel; }

signals:
    void clicked();
    void Pressclicked();
    void enterButton();
    void leaveButton();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Space or Enter presses a button that has the keyboard focus.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showState(State state);
    // Draws the current state again (new size, pictures or rectangles), but
    // only once a state has been shown: until then the initial fill stays.
    void refreshState();
    QPixmap statePicture(State state) const;
    void applyTypeLayout(bool iconCreated, bool captionCreated);
    void applyCaptionSheet();
    MyLabel* createChildLabel();
    void dropChildLabel(MyLabel*& label);

    std::array<QString, kStateCount> m_imagePaths;
    std::array<QPixmap, kStateCount> m_statePictures;
    std::array<QRect, kStateCount> m_stateRects;
    QPixmap m_sharedSprite;
    bool m_useSharedSprite = false;

    bool m_enabled = true;
    int m_type = kDefaultType;
    State m_shownState = Normal;
    bool m_stateShown = false;
    // What the picture shows now, so the same picture is not drawn twice.
    struct Drawn
    {
        const QWidget* target = nullptr;
        QSize size;
        qint64 sheet = 0;
        QRect rect;
        State state = Normal;
        bool operator==(const Drawn& other) const
        {
            return target == other.target && size == other.size && sheet == other.sheet &&
                   rect == other.rect && state == other.state;
        }
    };
    Drawn m_drawn;

    MyLabel* m_iconLabel = nullptr;
    MyLabel* m_captionLabel = nullptr;
    QString m_caption;
    QString m_enabledCaptionSheet;
    QString m_disabledCaptionSheet;

    // Set when a release on the caption of a type-6 button has already been
    // reported as the button's click, so the same release reaching the button
    // next does not report it a second time.
    bool m_captionReleaseReported = false;
};
