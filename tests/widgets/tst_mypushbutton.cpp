#include "widgets/mylabel.h"
#include "widgets/mypushbutton.h"

#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A sprite of four 20 x 20 squares, one colour per state.
const QColor kSpriteColours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};

QPixmap MakeSprite()
{
    QPixmap sprite(80, 20);
    QPainter painter(&sprite);
    for (int i = 0; i < 4; ++i) {
        painter.fillRect(i * 20, 0, 20, 20, kSpriteColours[i]);
    }
    return sprite;
}

void UseSprite(MyPushButton* button)
{
    button->setSharedSprite(MakeSprite());
    for (int state = 0; state < 4; ++state) {
        button->setStateRect(state, state * 20, 0, 20, 20);
    }
}

QString WriteImage(const QTemporaryDir& dir, const QString& name, const QColor& colour,
                   QSize size = QSize(16, 16))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    return image.save(path) ? path : QString();
}

// What the user sees at a point of the widget (its centre by default).
QColor Shown(QWidget* widget, QPoint point = QPoint(-1, -1))
{
    return widget->grab().toImage().pixelColor(point.x() < 0 ? widget->rect().center() : point);
}

// Plays one step of mouse activity on the widget.
void Play(QWidget* widget, const QString& step)
{
    if (step == "enter") {
        const QPointF local(widget->width() / 2.0, widget->height() / 2.0);
        QEnterEvent event(local, local, widget->mapToGlobal(local));
        QCoreApplication::sendEvent(widget, &event);
    } else if (step == "leave") {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &event);
    } else if (step == "press" || step == "rightPress") {
        QTest::mousePress(widget, step == "press" ? Qt::LeftButton : Qt::RightButton);
    } else if (step == "release" || step == "rightRelease") {
        QTest::mouseRelease(widget, step == "release" ? Qt::LeftButton : Qt::RightButton);
    } else if (step == "releaseOutside") {
        QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(widget->width() + 50, -30));
    }
}

// The button's signals in the order they arrive; owned by the button.
struct SignalLog : QObject
{
    QStringList names;

    explicit SignalLog(MyPushButton* button) : QObject(button)
    {
        connect(button, &MyPushButton::clicked, this, [this] { names << "clicked"; });
        connect(button, &MyPushButton::Pressclicked, this, [this] { names << "Pressclicked"; });
        connect(button, &MyPushButton::enterButton, this, [this] { names << "enterButton"; });
        connect(button, &MyPushButton::leaveButton, this, [this] { names << "leaveButton"; });
    }
};

// A parent that counts the mouse events its children pass on.
class Recorder : public QWidget
{
public:
    int presses = 0;
    int releases = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

} // namespace

class TestMyPushButton : public QObject
{
    Q_OBJECT

private slots:
    void initialLook();
    void events_data();
    void events();
    void colourModeWithoutHoverImage();
    void imageModeFromFiles();
    void iconLabelReceivesPictures();
    void types_data();
    void types();
    void typeTwoLayout_data();
    void typeTwoLayout();
    void typeFiveLayout();
    void typeSixForwardsCaptionClickOnce();
    void captionSheetsFollowEnabledFlag();
    void eventsReachTheParent();
};

void TestMyPushButton::initialLook()
{
    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setGeometry(0, 0, 40, 40);
    QCOMPARE(button->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(button->alignment(), Qt::AlignCenter);
    QVERIFY(button->isEnabledState());
    QCOMPARE(button->type(), 3);
    QCOMPARE(Shown(button), QColor(174, 174, 174));
}

void TestMyPushButton::events_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("signalNames");
    QTest::addColumn<int>("finalState");

    QTest::newRow("enter") << true << QStringList{"enter"} << QStringList{"enterButton"}
                           << int(MyPushButton::Hover);
    QTest::newRow("press") << true << QStringList{"enter", "press"}
                           << QStringList{"enterButton", "Pressclicked"}
                           << int(MyPushButton::Pressed);
    QTest::newRow("click shows normal while inside")
        << true << QStringList{"enter", "press", "release"}
        << QStringList{"enterButton", "Pressclicked", "clicked"} << int(MyPushButton::Normal);
    QTest::newRow("click and leave")
        << true << QStringList{"enter", "press", "release", "leave"}
        << QStringList{"enterButton", "Pressclicked", "clicked", "leaveButton"}
        << int(MyPushButton::Normal);
    // Letting go off the button still counts: windows that drag by a button
    // need to hear the end of the drag.
    QTest::newRow("release outside")
        << true << QStringList{"enter", "press", "leave", "releaseOutside"}
        << QStringList{"enterButton", "Pressclicked", "leaveButton", "clicked"}
        << int(MyPushButton::Normal);
    QTest::newRow("right button") << true << QStringList{"rightPress", "rightRelease"}
                                  << QStringList{"Pressclicked", "clicked"}
                                  << int(MyPushButton::Normal);
    QTest::newRow("disabled ignores enter and leave")
        << false << QStringList{"enter", "leave"} << QStringList{} << int(MyPushButton::Disabled);
    QTest::newRow("disabled ignores everything")
        << false << QStringList{"enter", "press", "leave", "releaseOutside", "press", "release"}
        << QStringList{} << int(MyPushButton::Disabled);
}

void TestMyPushButton::events()
{
    QFETCH(bool, enabled);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, signalNames);
    QFETCH(int, finalState);

    // The same steps on a colour button and on a sprite button.
    QWidget window;
    auto* flat = new MyPushButton(&window);
    flat->setButtonGeometry(0, 0, 40, 40);
    auto* sprite = new MyPushButton(&window);
    sprite->setButtonGeometry(50, 0, 40, 40);
    UseSprite(sprite);
    window.show();
    for (MyPushButton* button : {flat, sprite}) {
        button->setType(3);
        button->setEnabledState(enabled);
        const auto* log = new SignalLog(button);
        for (const QString& step : steps) {
            Play(button, step);
        }
        QCOMPARE(log->names, signalNames);
        QCOMPARE(int(button->shownState()), finalState);
    }
    QCOMPARE(Shown(flat), MyPushButton::stateColour(MyPushButton::State(finalState)));
    QCOMPARE(Shown(sprite), kSpriteColours[finalState]);

    // Whatever happened, enabling again shows the normal state.
    flat->setEnabledState(true);
    QCOMPARE(Shown(flat), QColor(Qt::gray));
}

void TestMyPushButton::colourModeWithoutHoverImage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setButtonGeometry(0, 0, 32, 32);
    // Three pictures but no hover picture: flat colours.
    button->setStateImages(WriteImage(dir, "n.png", Qt::red), QString(),
                           WriteImage(dir, "p.png", Qt::blue), WriteImage(dir, "d.png", Qt::yellow),
                           3);
    QVERIFY(!button->isImageMode());
    window.show();
    QCOMPARE(Shown(button), QColor(Qt::gray));
    Play(button, "enter");
    QCOMPARE(Shown(button), QColor(Qt::lightGray));
    Play(button, "press");
    QCOMPARE(Shown(button), QColor(Qt::darkGray));
    button->setEnabledState(false);
    QCOMPARE(Shown(button), QColor(Qt::gray));
}

void TestMyPushButton::imageModeFromFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setButtonGeometry(0, 0, 32, 32);
    UseSprite(button);
    button->setStateImages(WriteImage(dir, "n.png", Qt::red, QSize(10, 12)),
                           WriteImage(dir, "h.png", Qt::green, QSize(14, 6)),
                           WriteImage(dir, "p.png", Qt::blue), QString(), 4);
    QVERIFY(!button->usesSharedSprite());
    QVERIFY(button->isImageMode());
    QCOMPARE(button->type(), 4);
    // Each loaded picture is used whole; a state without a path keeps its
    // rectangle.
    QCOMPARE(button->stateRect(MyPushButton::Normal), QRect(0, 0, 10, 12));
    QCOMPARE(button->stateRect(MyPushButton::Hover), QRect(0, 0, 14, 6));
    QCOMPARE(button->stateRect(MyPushButton::Disabled), QRect(60, 0, 20, 20));
    window.show();

    // Stretched over the whole button, corners included.
    QCOMPARE(Shown(button, QPoint(0, 0)), QColor(Qt::red));
    QCOMPARE(Shown(button, QPoint(31, 31)), QColor(Qt::red));
    Play(button, "enter");
    QCOMPARE(Shown(button, QPoint(31, 31)), QColor(Qt::green));
    Play(button, "press");
    QCOMPARE(Shown(button), QColor(Qt::blue));
    // No disabled picture: the button looks normal rather than blank.
    button->setEnabledState(false);
    QCOMPARE(Shown(button), QColor(Qt::red));
}

void TestMyPushButton::iconLabelReceivesPictures()
{
    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setButtonGeometry(0, 0, 100, 40);
    UseSprite(button);
    button->setType(2);
    window.show();
    QCOMPARE(Shown(button->iconLabel()), kSpriteColours[MyPushButton::Normal]);
    Play(button, "enter");
    QCOMPARE(Shown(button->iconLabel()), kSpriteColours[MyPushButton::Hover]);
    QVERIFY(Shown(button, QPoint(5, 20)) != kSpriteColours[MyPushButton::Hover]);

    // An owner that places the icon itself gets the picture at the new size.
    button->setType(1);
    button->iconLabel()->setGeometry(60, 5, 30, 30);
    QCOMPARE(Shown(button, QPoint(61, 6)), kSpriteColours[MyPushButton::Normal]);
    QCOMPARE(Shown(button, QPoint(89, 34)), kSpriteColours[MyPushButton::Normal]);
}

void TestMyPushButton::types_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("hasIcon");
    QTest::addColumn<bool>("hasCaption");
    QTest::newRow("0") << 0 << false << false;
    QTest::newRow("1") << 1 << true << true;
    QTest::newRow("2") << 2 << true << true;
    QTest::newRow("3") << 3 << false << false;
    QTest::newRow("4") << 4 << false << false;
    QTest::newRow("5") << 5 << true << true;
    QTest::newRow("6") << 6 << false << true;
}

void TestMyPushButton::types()
{
    QFETCH(int, type);
    QFETCH(bool, hasIcon);
    QFETCH(bool, hasCaption);

    QWidget window;
    window.setAutoFillBackground(true);
    window.setPalette(QPalette(Qt::magenta));
    auto* button = new MyPushButton(&window);
    button->setButtonGeometry(0, 0, 80, 60);
    button->setCaption("Add", QString(), QString());
    window.show();

    // From a type with both children, so dropping is exercised too.
    button->setType(5);
    QPointer<MyLabel> oldIcon = button->iconLabel();
    QPointer<MyLabel> oldCaption = button->captionLabel();
    button->setType(type);
    QCOMPARE(button->type(), type);
    QCOMPARE(button->iconLabel(), hasIcon ? oldIcon.data() : nullptr);
    QCOMPARE(button->captionLabel(), hasCaption ? oldCaption.data() : nullptr);
    if (hasCaption) {
        QVERIFY(button->captionLabel()->isVisible());
        QCOMPARE(button->captionLabel()->text(), QStringLiteral("Add"));
    }
    if (hasIcon) {
        QVERIFY(button->iconLabel()->isVisible());
    }
    // Dropped children vanish at once and are deleted soon after.
    QVERIFY(hasIcon || !oldIcon || !oldIcon->isVisible());
    QTRY_VERIFY(hasIcon || oldIcon.isNull());
    QTRY_VERIFY(hasCaption || oldCaption.isNull());

    // Type 0 paints no background: the window shows through. (The face may
    // show hover: the pointer can rest anywhere on the virtual screen.)
    const QColor corner = window.grab().toImage().pixelColor(79, 1);
    QCOMPARE(corner,
             type == 0 ? QColor(Qt::magenta) : MyPushButton::stateColour(button->shownState()));
}

void TestMyPushButton::typeTwoLayout_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("caption");
    QTest::addColumn<QRect>("icon");
    QTest::newRow("100x40") << QSize(100, 40) << QRect(0, 0, 75, 40) << QRect(75, 0, 25, 40);
    // A quarter of 102 is 25, remainder dropped.
    QTest::newRow("102x30") << QSize(102, 30) << QRect(0, 0, 77, 30) << QRect(77, 0, 25, 30);
    QTest::newRow("3x10") << QSize(3, 10) << QRect(0, 0, 3, 10) << QRect(3, 0, 0, 10);
}

void TestMyPushButton::typeTwoLayout()
{
    QFETCH(QSize, size);
    QFETCH(QRect, caption);
    QFETCH(QRect, icon);

    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setCaption("Output", QString(), QString());
    button->setType(2);
    // Laid out again on every new geometry, shown or not.
    button->setButtonGeometry(5, 6, size.width(), size.height());
    QCOMPARE(button->geometry(), QRect(QPoint(5, 6), size));
    QCOMPARE(button->captionLabel()->geometry(), caption);
    QCOMPARE(button->iconLabel()->geometry(), icon);
    QCOMPARE(button->captionLabel()->text(), QStringLiteral("Output"));

    window.show();
    button->resize(200, 50);
    QCOMPARE(button->captionLabel()->geometry(), QRect(0, 0, 150, 50));
    QCOMPARE(button->iconLabel()->geometry(), QRect(150, 0, 50, 50));
}

void TestMyPushButton::typeFiveLayout()
{
    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setButtonGeometry(0, 0, 80, 100);
    button->setCaption("Clear", QString(), QString());
    button->setType(5);
    QCOMPARE(button->iconLabel()->geometry(), QRect(0, 0, 80, 80));
    QCOMPARE(button->captionLabel()->geometry(), QRect(0, 80, 80, 20));
    QCOMPARE(button->captionLabel()->alignment(), Qt::AlignCenter);
    QCOMPARE(button->captionLabel()->text(), QStringLiteral("Clear"));
    button->setButtonGeometry(0, 0, 60, 50);
    QCOMPARE(button->iconLabel()->geometry(), QRect(0, 0, 60, 30));
    QCOMPARE(button->captionLabel()->geometry(), QRect(0, 30, 60, 20));
}

void TestMyPushButton::typeSixForwardsCaptionClickOnce()
{
    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setButtonGeometry(0, 0, 120, 30);
    button->setType(6);
    window.show();
    QCOMPARE(button->captionLabel()->geometry(), button->rect());
    QSignalSpy clicked(button, &MyPushButton::clicked);

    // A real click lands on the caption: one click of the button, not two.
    QTest::mouseClick(button->captionLabel(), Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(button->shownState(), MyPushButton::Normal);
    emit button->captionLabel()->clicked();
    QCOMPARE(clicked.count(), 2);
    // Beside the caption, the button's own click counts once as well.
    button->captionLabel()->setGeometry(0, 0, 60, 30);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(100, 15));
    QCOMPARE(clicked.count(), 3);

    // A disabled button stays quiet, caption included.
    button->setEnabledState(false);
    QTest::mouseClick(button->captionLabel(), Qt::LeftButton);
    emit button->captionLabel()->clicked();
    QCOMPARE(clicked.count(), 3);
    // Other types do not forward the caption.
    button->setEnabledState(true);
    button->setType(1);
    emit button->captionLabel()->clicked();
    QCOMPARE(clicked.count(), 3);
}

void TestMyPushButton::captionSheetsFollowEnabledFlag()
{
    const QString enabledSheet = "QLabel{color:#ffffff;}";
    const QString disabledSheet = "QLabel{color:#777777;}";

    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setType(1);
    button->setCaption("Menu", enabledSheet, disabledSheet);
    QCOMPARE(button->captionLabel()->text(), QStringLiteral("Menu"));
    QCOMPARE(button->styleSheet(), enabledSheet);
    QCOMPARE(button->captionLabel()->styleSheet(), enabledSheet);
    button->setEnabledState(false);
    QCOMPARE(button->styleSheet(), disabledSheet);
    QCOMPARE(button->captionLabel()->styleSheet(), disabledSheet);
    button->setEnabledState(true);
    QCOMPARE(button->captionLabel()->styleSheet(), enabledSheet);

    // Without an enabled sheet an enabled button never takes on the
    // disabled look.
    auto* other = new MyPushButton(&window);
    other->setType(1);
    other->setCaption("Other", QString(), disabledSheet);
    other->setEnabledState(true);
    QVERIFY(other->captionLabel()->styleSheet() != disabledSheet);
}

void TestMyPushButton::eventsReachTheParent()
{
    // The trim slider and the dialogs follow presses on their buttons.
    Recorder window;
    auto* button = new MyPushButton(&window);
    button->setButtonGeometry(0, 0, 40, 40);
    window.show();
    QSignalSpy clicked(button, &MyPushButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(window.presses, 1);
    QCOMPARE(window.releases, 1);
}

QTEST_MAIN(TestMyPushButton)
#include "tst_mypushbutton.moc"
