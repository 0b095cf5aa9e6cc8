// The cut-range time field: what it shows for a microsecond count, and that
// a click on it (a step arrow above all) commits at once, within its limits.
#include "app/timetext.h"
#include "player/myqtimeedit.h"
#include "skin/scale.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QtTest>

#include <memory>

class TestTimeEdit : public QObject
{
    Q_OBJECT

    std::unique_ptr<MyQTimeEdit> m_edit;

    QPoint arrowCentre(QStyle::SubControl arrow) const
    {
        QStyleOptionSpinBox option;
        option.initFrom(m_edit.get());
        option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown |
                             QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField;
        option.buttonSymbols = m_edit->buttonSymbols();
        option.frame = m_edit->hasFrame();
        option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
        return m_edit->style()
            ->subControlRect(QStyle::CC_SpinBox, &option, arrow, m_edit.get())
            .center();
    }

private Q_SLOTS:
    void init()
    {
        SetScaleFactor(1.0f);
        m_edit = std::make_unique<MyQTimeEdit>();
        m_edit->ApplySkin();
        m_edit->resize(100, 28);
        m_edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_edit.get()));
    }

    void cleanup() { m_edit.reset(); }

    void shownText_data()
    {
        QTest::addColumn<qint64>("microseconds");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("readBack");
        QTest::newRow("all fields") << qint64(3723456789) << "01:02:03.456" << qint64(3723456000);
        // A clock field ends before 24 hours; longer media show its last moment.
        QTest::newRow("25 hours") << qint64(90000000000) << "23:59:59.999" << qint64(86399999000);
    }
    void shownText()
    {
        QFETCH(qint64, microseconds);
        QFETCH(QString, text);
        QFETCH(qint64, readBack);
        m_edit->setMicroseconds(microseconds);
        QCOMPARE(m_edit->text(), text);
        QCOMPARE(m_edit->microseconds(), readBack);
    }

    void arrowClick_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("arrow");
        QTest::addColumn<QString>("text");
        QTest::newRow("up") << qint64(5000000) << int(QStyle::SC_SpinBoxUp) << "00:00:06.000";
        QTest::newRow("down at the minimum")
            << qint64(2000000) << int(QStyle::SC_SpinBoxDown) << "00:00:02.000";
    }
    void arrowClick()
    {
        QFETCH(qint64, value);
        QFETCH(int, arrow);
        QFETCH(QString, text);
        m_edit->setMicrosecondRange(2000000, 10000000);
        m_edit->setMicroseconds(value);
        m_edit->setCurrentSection(QDateTimeEdit::SecondSection);
        QSignalSpy finished(m_edit.get(), &QAbstractSpinBox::editingFinished);

        const QPoint at = arrowCentre(QStyle::SubControl(arrow));
        QTest::mousePress(m_edit.get(), Qt::LeftButton, {}, at);
        QCOMPARE(finished.count(), 0);
        QTest::mouseRelease(m_edit.get(), Qt::LeftButton, {}, at);

        QCOMPARE(m_edit->text(), text);
        QCOMPARE(finished.count(), 1);
    }

    void clickWithoutChangeStillFinishes()
    {
        m_edit->setMicroseconds(5000000);
        QSignalSpy finished(m_edit.get(), &QAbstractSpinBox::editingFinished);
        QTest::mouseClick(m_edit.get(), Qt::LeftButton, {}, QPoint(20, 14));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_edit->microseconds(), qint64(5000000));
    }

    void typingPastALimitEndsAtIt_data()
    {
        QTest::addColumn<int>("section");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("minutes above") << int(QDateTimeEdit::MinuteSection) << "01"
                                       << "00:00:10.000";
        QTest::newRow("seconds below") << int(QDateTimeEdit::SecondSection) << "01"
                                       << "00:00:02.000";
        QTest::newRow("inside") << int(QDateTimeEdit::SecondSection) << "07"
                                << "00:00:07.000";
    }
    void typingPastALimitEndsAtIt()
    {
        QFETCH(int, section);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        m_edit->setMicrosecondRange(2000000, 10000000);
        m_edit->setMicroseconds(5000000);
        m_edit->setFocus();
        m_edit->setSelectedSection(QDateTimeEdit::Section(section));
        QSignalSpy finished(m_edit.get(), &QAbstractSpinBox::editingFinished);
        QTest::keyClicks(m_edit.get(), keys);
        QTest::keyClick(m_edit.get(), Qt::Key_Return);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_edit->text(), text);
        QCOMPARE(m_edit->microseconds(),
                 TimeOfDayToMicroseconds(QTime::fromString(text, "hh:mm:ss.zzz")));
    }
};

QTEST_MAIN(TestTimeEdit)
#include "test_timeedit.moc"
