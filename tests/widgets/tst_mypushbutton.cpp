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
    void events_data();
    void events();
    void imageModeFromFiles();
    void iconLabelReceivesPictures();
    void types_data();
    void types();
    void layout_data();
    void layout();
    void typeSixForwardsCaptionClickOnce();
    void captionSheetsFollowEnabledFlag();
    void eventsReachTheParent();
};

void TestMyPushButton::events_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("signalNames");
    QTest::addColumn<int>("finalState");

    QTest::newRow("enter, press") << true << QStringList{"enter", "press"}
                                  << QStringList{"enterButton", "Pressclicked"}
                                  << int(MyPushButton::Pressed);
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

void TestMyPushButton::imageModeFromFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setButtonGeometry(0, 0, 32, 32);
    UseSprite(button);
    // Pictures but no hover picture: flat colours.
    button->setStateImages(WriteImage(dir, "n.png", Qt::red), QString(),
                           WriteImage(dir, "p.png", Qt::blue), QString(), 3);
    QVERIFY(!button->isImageMode());
    button->setStateImages(WriteImage(dir, "n.png", Qt::red, QSize(10, 12)),
                           WriteImage(dir, "h.png", Qt::green, QSize(14, 6)),
                           WriteImage(dir, "p.png", Qt::blue), QString(), 4);
    QVERIFY(button->isImageMode());
    // Each loaded picture is used whole; a state without a path keeps its
    // rectangle.
    QCOMPARE(button->stateRect(MyPushButton::Hover), QRect(0, 0, 14, 6));
    QCOMPARE(button->stateRect(MyPushButton::Disabled), QRect(60, 0, 20, 20));
    window.show();

    // Stretched over the whole button, corners included.
    QCOMPARE(Shown(button, QPoint(0, 0)), QColor(Qt::red));
    Play(button, "enter");
    QCOMPARE(Shown(button, QPoint(31, 31)), QColor(Qt::green));
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
    Play(button, "enter");
    QCOMPARE(Shown(button->iconLabel()), kSpriteColours[MyPushButton::Hover]);

    // An owner that places the icon itself gets the picture at the new size.
    button->setType(1);
    button->iconLabel()->setGeometry(60, 5, 30, 30);
    QCOMPARE(Shown(button, QPoint(89, 34)), kSpriteColours[MyPushButton::Normal]);
}

void TestMyPushButton::types_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("hasIcon");
    QTest::addColumn<bool>("hasCaption");
    QTest::newRow("0") << 0 << false << false;
    QTest::newRow("2") << 2 << true << true;
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
    QCOMPARE(button->iconLabel(), hasIcon ? oldIcon.data() : nullptr);
    QCOMPARE(button->captionLabel(), hasCaption ? oldCaption.data() : nullptr);
    QTRY_VERIFY(hasIcon || oldIcon.isNull());
    QTRY_VERIFY(hasCaption || oldCaption.isNull());
    // Type 0 paints no background: the window shows through. (The face may
    // show hover: the pointer can rest anywhere on the virtual screen.)
    QCOMPARE(window.grab().toImage().pixelColor(79, 1),
             type == 0 ? QColor(Qt::magenta) : MyPushButton::stateColour(button->shownState()));
}

void TestMyPushButton::layout_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("caption");
    QTest::addColumn<QRect>("icon");
    QTest::newRow("2, 100x40") << 2 << QSize(100, 40) << QRect(0, 0, 75, 40)
                               << QRect(75, 0, 25, 40);
    // A quarter of 102 is 25, remainder dropped.
    QTest::newRow("2, 102x30") << 2 << QSize(102, 30) << QRect(0, 0, 77, 30)
                               << QRect(77, 0, 25, 30);
    QTest::newRow("5, 80x100") << 5 << QSize(80, 100) << QRect(0, 80, 80, 20)
                               << QRect(0, 0, 80, 80);
    QTest::newRow("5, 60x50") << 5 << QSize(60, 50) << QRect(0, 30, 60, 20) << QRect(0, 0, 60, 30);
}

void TestMyPushButton::layout()
{
    QFETCH(int, type);
    QFETCH(QSize, size);
    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setCaption("Output", QString(), QString());
    button->setType(type);
    // Laid out on a geometry that comes after the type, shown or not.
    button->setButtonGeometry(0, 0, 10, 10);
    button->setButtonGeometry(5, 6, size.width(), size.height());
    QCOMPARE(button->geometry(), QRect(QPoint(5, 6), size));
    QTEST(button->captionLabel()->geometry(), "caption");
    QTEST(button->iconLabel()->geometry(), "icon");
}

void TestMyPushButton::typeSixForwardsCaptionClickOnce()
{
    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setButtonGeometry(0, 0, 120, 30);
    button->setType(6);
    window.show();
    QSignalSpy clicked(button, &MyPushButton::clicked);

    // A real click lands on the caption: one click of the button, not two.
    QTest::mouseClick(button->captionLabel(), Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    // Beside the caption, the button's own click counts once as well.
    button->captionLabel()->setGeometry(0, 0, 60, 30);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(100, 15));
    QCOMPARE(clicked.count(), 2);

    // A disabled button stays quiet, caption included.
    button->setEnabledState(false);
    QTest::mouseClick(button->captionLabel(), Qt::LeftButton);
    QCOMPARE(clicked.count(), 2);
    // Other types do not forward the caption.
    button->setEnabledState(true);
    button->setType(1);
    emit button->captionLabel()->clicked();
    QCOMPARE(clicked.count(), 2);
}

void TestMyPushButton::captionSheetsFollowEnabledFlag()
{
    const QString enabledSheet = "QLabel{color:#ffffff;}";
    const QString disabledSheet = "QLabel{color:#777777;}";

    QWidget window;
    auto* button = new MyPushButton(&window);
    button->setType(1);
    button->setCaption("Menu", enabledSheet, disabledSheet);
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
