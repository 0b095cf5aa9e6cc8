#include "widgets/mylabel.h"
#include "widgets/mytempbutton.h"
#include "widgets/nofocusframedelegate.h"

#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

namespace {

const QString kNormal = "QLabel{background-color:#262c33;}";
const QString kHover = "QLabel{background-color:#0076d6;}";
const QString kThird = "QLabel{background-color:#39434d;}";
const QString kDisabled = "QLabel{background-color:#111111;}";

void Play(QWidget* widget, const QString& step)
{
    if (step == "enter") {
        const QPointF local(widget->width() / 2.0, widget->height() / 2.0);
        QEnterEvent event(local, local, widget->mapToGlobal(local));
        QCoreApplication::sendEvent(widget, &event);
    } else if (step == "leave") {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &event);
    } else if (step == "press") {
        QTest::mousePress(widget, Qt::LeftButton);
    } else if (step == "release") {
        QTest::mouseRelease(widget, Qt::LeftButton);
    }
}

// Both buttons' signals in the order they arrive; owned by the button.
struct SignalLog : QObject
{
    QStringList names;

    template <typename Button> explicit SignalLog(Button* button) : QObject(button)
    {
        connect(button, &Button::clicked, this, [this] { names << "clicked"; });
        connect(button, &Button::Pressclicked, this, [this] { names << "Pressclicked"; });
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

// Remembers the option each paint starts from.
class RecordingDelegate : public NoFocusFrameDelegate
{
public:
    mutable QStyle::State paintedState;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        NoFocusFrameDelegate::initStyleOption(option, index);
        paintedState = option->state;
    }
};

void AddEventRows()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("sheet2");
    QTest::addColumn<QString>("sheet5");
    QTest::addColumn<QStringList>("signalNames");

    const QStringList none;
    QTest::newRow("enter") << true << QStringList{"enter"} << kHover << kHover << none;
    QTest::newRow("press") << true << QStringList{"enter", "press"} << kHover << kThird
                           << QStringList{"Pressclicked"};
    QTest::newRow("click and leave")
        << true << QStringList{"enter", "press", "release", "leave"} << kNormal << kNormal
        << QStringList{"Pressclicked", "clicked"};
    QTest::newRow("disabled") << false << QStringList{"enter", "press", "release", "leave"}
                              << kDisabled << kDisabled << none;
}

} // namespace

class TestTempButtons : public QObject
{
    Q_OBJECT

private slots:
    void events_data() { AddEventRows(); }
    void events();
    void button5Children();
    void buttonsPassEventsOn();
    void myLabelClicksOnRelease();
    void delegateDropsFocusOnly_data();
    void delegateDropsFocusOnly();
};

void TestTempButtons::events()
{
    QFETCH(bool, enabled);
    QFETCH(QStringList, steps);
    QFETCH(QString, sheet2);
    QFETCH(QString, sheet5);
    QFETCH(QStringList, signalNames);

    QWidget window;
    auto* button2 = new MyTempButton2(&window);
    button2->setGeometry(0, 0, 120, 35);
    button2->setStateStyleSheets(kNormal, kHover, kDisabled);
    button2->setEnabledState(enabled);
    auto* button5 = new MyTempButton5(&window);
    button5->setGeometry(0, 40, 98, 33);
    button5->setStateStyleSheets(kNormal, kHover, kThird);
    button5->setDisabledStyleSheet(kDisabled);
    button5->setEnabledState(enabled);
    window.show();
    const auto* log2 = new SignalLog(button2);
    const auto* log5 = new SignalLog(button5);
    for (const QString& step : steps) {
        Play(button2, step);
        Play(button5, step);
    }
    QCOMPARE(button2->styleSheet(), sheet2);
    QCOMPARE(log2->names, signalNames);
    // The sheets go to the inner label, never to the button widget.
    QCOMPARE(button5->styleLabel()->styleSheet(), sheet5);
    QVERIFY(button5->styleSheet().isEmpty());
    QCOMPARE(log5->names, signalNames);

    // Enabled again, it shows the normal sheet and clicks.
    button2->setEnabledState(true);
    QCOMPARE(button2->styleSheet(), kNormal);
    QTest::mouseClick(button2, Qt::LeftButton);
    QCOMPARE(log2->names.mid(signalNames.size()), QStringList({"Pressclicked", "clicked"}));
}

void TestTempButtons::button5Children()
{
    QWidget window;
    auto* button = new MyTempButton5(&window);
    button->setGeometry(18, 9, 98, 33);
    button->setText("Add Files");
    window.show();
    QCOMPARE(button->styleLabel()->text(), QStringLiteral("Add Files"));
    button->resize(120, 40);
    QCOMPARE(button->styleLabel()->geometry(), QRect(0, 0, 120, 40));

    QPixmap icon(30, 30);
    icon.fill(Qt::red);
    button->setIcon(icon, 6, 5, 20, 20);
    QCOMPARE(button->iconLabel()->geometry(), QRect(6, 5, 20, 20));
    const QImage shown = button->grab().toImage();
    QCOMPARE(shown.pixelColor(25, 24), QColor(Qt::red));
    QVERIFY(shown.pixelColor(27, 26) != QColor(Qt::red));

    button->setThirdGeometry(90, 2, 20, 10);
    QCOMPARE(button->thirdLabel()->geometry(), QRect(90, 2, 20, 10));
}

void TestTempButtons::buttonsPassEventsOn()
{
    // A dialog is dragged by its buttons too, so they hand the mouse on.
    Recorder window;
    auto* button2 = new MyTempButton2(&window);
    button2->setGeometry(0, 0, 120, 35);
    auto* button5 = new MyTempButton5(&window);
    button5->setGeometry(0, 40, 98, 33);
    window.show();
    QSignalSpy clicked5(button5, &MyTempButton5::clicked);
    QTest::mouseClick(button2, Qt::LeftButton);
    QTest::mouseClick(button5->styleLabel(), Qt::LeftButton);
    QCOMPARE(clicked5.count(), 1);
    QCOMPARE(window.presses, 2);
    QCOMPARE(window.releases, 2);
}

void TestTempButtons::myLabelClicksOnRelease()
{
    QWidget window;
    auto* label = new MyLabel(&window);
    window.show();
    QSignalSpy clicked(label, &MyLabel::clicked);
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QTest::mousePress(label, button);
        QCOMPARE(clicked.count(), 0);
        QTest::mouseRelease(label, button);
        QCOMPARE(clicked.count(), 1);
        clicked.clear();
    }
}

void TestTempButtons::delegateDropsFocusOnly_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("focused and selected")
        << int(QStyle::State_HasFocus | QStyle::State_Selected | QStyle::State_Enabled);
    QTest::newRow("not focused") << int(QStyle::State_Enabled | QStyle::State_MouseOver);
}

void TestTempButtons::delegateDropsFocusOnly()
{
    QFETCH(int, state);
    QStandardItemModel model;
    model.appendRow(new QStandardItem("row"));
    RecordingDelegate delegate;
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 100, 20);
    option.state = QStyle::State(state);
    QImage image(100, 20, QImage::Format_ARGB32);
    QPainter painter(&image);
    delegate.paint(&painter, option, model.index(0, 0));

    QVERIFY(!(delegate.paintedState & QStyle::State_HasFocus));
    QCOMPARE(int(delegate.paintedState | QStyle::State_HasFocus),
             state | int(QStyle::State_HasFocus));
}

QTEST_MAIN(TestTempButtons)
#include "tst_tempbuttons.moc"
