#include "skin/scale.h"
#include "skin/skinpalette.h"
#include "widgets/mymessagedialog.h"
#include "widgets/mypushbutton.h"
#include "widgets/mytempbutton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// Sends a mouse event to the dialog at a point given in its own coordinates,
// with the matching screen position, as the window system would.
void SendMouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button,
               Qt::MouseButtons held)
{
    const QPointF localF(local);
    QMouseEvent event(type, localF, localF, widget->mapToGlobal(localF), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

class TestMyMessageDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void answers_data();
    void answers();
    void noticeShowsOneCentredButton();
    void layout_data();
    void layout();
    void dragMovesDialog_data();
    void dragMovesDialog();
    void dragByAButton();
};

void TestMyMessageDialog::cleanup()
{
    SetScaleFactor(1.0f);
}

void TestMyMessageDialog::answers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("notice");
    QTest::addColumn<bool>("expected");

    QTest::newRow("OK") << "ok" << false << true;
    QTest::newRow("Cancel") << "cancel" << false << false;
    QTest::newRow("cross is Cancel") << "cross" << false << false;
    QTest::newRow("Escape is Cancel") << "escape" << false << false;
    QTest::newRow("notice OK") << "ok" << true << true;
}

void TestMyMessageDialog::answers()
{
    QFETCH(QString, answer);
    QFETCH(bool, notice);
    QFETCH(bool, expected);

    MyMessageDialog dialog;
    dialog.setupMessage("Delete the selected files?");
    if (notice) {
        dialog.setSingleButton("OK");
    } else {
        // The left button answers false, the right one true.
        dialog.setButtonCaptions("OK", "Open Folder");
        QCOMPARE(dialog.okButton()->text(), QStringLiteral("Open Folder"));
    }
    QVERIFY(!dialog.result());

    bool answered = false;
    QTimer::singleShot(0, &dialog, [&] {
        QTRY_VERIFY(dialog.isVisible());
        if (answer == "ok") {
            QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        } else if (answer == "cancel") {
            QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        } else if (answer == "cross") {
            QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
        } else {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        }
        answered = true;
    });
    const int code = dialog.exec();
    QVERIFY(answered);
    QCOMPARE(dialog.result(), expected);
    QCOMPARE(code, expected ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
}

void TestMyMessageDialog::noticeShowsOneCentredButton()
{
    MyMessageDialog dialog;
    dialog.setupMessage("Conversion failed.");
    dialog.setSingleButton("Close");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QVERIFY(!dialog.cancelButton()->isVisible());
    QVERIFY(dialog.okButton()->isVisible());
    QCOMPARE(dialog.okButton()->text(), QStringLiteral("Close"));
    // Centred at the height where the two buttons of a question sit.
    QCOMPARE(dialog.okButton()->geometry(), QRect(180, 180, 120, 35));

    // Set up again, it is a question once more.
    dialog.setupMessage("Again?");
    QVERIFY(dialog.cancelButton()->isVisible());
    QCOMPARE(dialog.okButton()->text(), QStringLiteral("OK"));
    QCOMPARE(dialog.okButton()->geometry(), QRect(250, 180, 120, 35));
}

void TestMyMessageDialog::layout_data()
{
    QTest::addColumn<float>("scale");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("close");
    QTest::addColumn<QRect>("title");
    QTest::addColumn<QRect>("icon");
    QTest::addColumn<QRect>("message");
    QTest::addColumn<QRect>("cancel");
    QTest::addColumn<QRect>("ok");

    QTest::newRow("scale 1") << 1.0f << QSize(480, 252) << QRect(450, 10, 20, 20)
                             << QRect(20, 10, 430, 30) << QRect(40, 60, 48, 48)
                             << QRect(130, 70, 300, 90) << QRect(110, 180, 120, 35)
                             << QRect(250, 180, 120, 35);
    // The message's offset of 90 and the 100 of its width stay unscaled.
    QTest::newRow("scale 1.5") << 1.5f << QSize(720, 378) << QRect(675, 15, 30, 30)
                               << QRect(30, 15, 645, 45) << QRect(60, 90, 72, 72)
                               << QRect(150, 105, 500, 135) << QRect(165, 270, 180, 52)
                               << QRect(375, 270, 180, 52);
}

void TestMyMessageDialog::layout()
{
    QFETCH(float, scale);
    QFETCH(QSize, size);
    QFETCH(QRect, close);
    QFETCH(QRect, title);
    QFETCH(QRect, icon);
    QFETCH(QRect, message);
    QFETCH(QRect, cancel);
    QFETCH(QRect, ok);

    SetScaleFactor(scale);
    MyMessageDialog dialog;
    dialog.setupMessage("A message long enough to wrap over more than one line of the label.");
    QCOMPARE(dialog.size(), size);
    QCOMPARE(dialog.backgroundPanel()->geometry(), QRect(QPoint(0, 0), size));
    QCOMPARE(dialog.closeButton()->geometry(), close);
    QCOMPARE(dialog.titleLabel()->geometry(), title);
    QCOMPARE(dialog.iconLabel()->geometry(), icon);
    QCOMPARE(dialog.messageLabel()->geometry(), message);
    QCOMPARE(dialog.cancelButton()->geometry(), cancel);
    QCOMPARE(dialog.okButton()->geometry(), ok);

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // The title exists but never shows.
    QVERIFY(!dialog.titleLabel()->isVisible());
    QVERIFY(dialog.closeButton()->isVisible());
}

void TestMyMessageDialog::dragMovesDialog_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("pressAt");
    QTest::newRow("left button on the message") << Qt::LeftButton << QPoint(200, 100);
    QTest::newRow("middle button near the edge") << Qt::MiddleButton << QPoint(3, 240);
}

void TestMyMessageDialog::dragMovesDialog()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, pressAt);

    MyMessageDialog dialog;
    dialog.setupMessage("drag me");
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTRY_COMPARE(dialog.pos(), QPoint(100, 100));
    const QSize size = dialog.size();

    SendMouse(&dialog, QEvent::MouseButtonPress, pressAt, button, button);
    SendMouse(&dialog, QEvent::MouseMove, pressAt + QPoint(40, 25), Qt::NoButton, button);
    QTRY_COMPARE(dialog.pos(), QPoint(140, 125));
    // The pointer is back at the same place of the dialog: a further move of
    // (-60, 10) follows it.
    SendMouse(&dialog, QEvent::MouseMove, pressAt + QPoint(-60, 10), Qt::NoButton, button);
    QTRY_COMPARE(dialog.pos(), QPoint(80, 135));
    QCOMPARE(dialog.size(), size);

    SendMouse(&dialog, QEvent::MouseButtonRelease, pressAt, button, Qt::NoButton);
    SendMouse(&dialog, QEvent::MouseMove, pressAt + QPoint(50, 50), Qt::NoButton, Qt::NoButton);
    QTest::qWait(20);
    QCOMPARE(dialog.pos(), QPoint(80, 135));
}

void TestMyMessageDialog::dragByAButton()
{
    MyMessageDialog dialog;
    dialog.setupMessage("drag me by the button");
    dialog.move(200, 150);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTRY_COMPARE(dialog.pos(), QPoint(200, 150));

    // A press on a button reaches the dialog too and starts the drag.
    MyTempButton2* ok = dialog.okButton();
    const QPoint onOk = ok->rect().center();
    const QPointF global = ok->mapToGlobal(QPointF(onOk));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(onOk), QPointF(onOk), global,
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ok, &press);
    SendMouse(&dialog, QEvent::MouseMove, ok->geometry().center() + QPoint(15, -5), Qt::NoButton,
              Qt::LeftButton);
    QTRY_COMPARE(dialog.pos(), QPoint(215, 145));
}

QTEST_MAIN(TestMyMessageDialog)
#include "tst_mymessagedialog.moc"
