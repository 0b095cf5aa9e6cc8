// The cut-range time fields: what one shows for a microsecond count, that a
// click on a step arrow commits at once, and, in the player panel with a
// two-hour file, that times typed with real keys become the row's cut range.
#include "app/appfolder.h"
#include "app/timetext.h"
#include "list/videoitemwidget.h"
#include "player/myqtimeedit.h"
#include "player/mytrimslider.h"
#include "player/videoplayerwidget.h"
#include "skin/scale.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr qint64 kSecond = 1000000;
constexpr qint64 kTwoHours = 7200 * kSecond;

qint64 Clock(const char* text)
{
    return TimeOfDayToMicroseconds(QTime::fromString(QLatin1String(text), "hh:mm:ss.zzz"));
}

} // namespace

class TestTimeEdit : public QObject
{
    Q_OBJECT

    std::unique_ptr<MyQTimeEdit> m_edit;
    QTemporaryDir m_noPlayer; // an application folder without the player
    std::unique_ptr<VideoItemWidget> m_row;
    std::unique_ptr<VideoPlayerWidget> m_panel; // goes before the row it shows

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

    // The panel with a two-hour row cut from 00:10:00 to 01:30:00: the start
    // field runs from 0 to the cut end, the end field from the cut start to
    // the end of the file.
    void openPanel(qint64 duration = kTwoHours, qint64 cutStart = Clock("00:10:00.000"),
                   qint64 cutEnd = Clock("01:30:00.000"))
    {
        SetAppFolder(m_noPlayer.path());
        m_row = std::make_unique<VideoItemWidget>();
        m_row->mediaInfo.duration = duration;
        m_row->cutStart = cutStart;
        m_row->cutEnd = cutEnd;
        m_panel = std::make_unique<VideoPlayerWidget>();
        m_panel->resize(900, 600);
        m_panel->layoutPanel();
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
        m_panel->setItem(m_row.get());
    }

    MyQTimeEdit* panelField(const QString& name) const
    {
        return name == "start" ? m_panel->startField() : m_panel->endField();
    }

    // Puts the text cursor inside the field's section `section` as the user
    // does: a click on its digits, or the arrow keys from the first section.
    void reachSection(MyQTimeEdit* field, int section, bool byKeys)
    {
        // Clicks on the text land on the field's line edit.
        QLineEdit* text = field->findChild<QLineEdit*>();
        QVERIFY(text);
        const int inside = section * 3 + 1; // between a section's first two digits
        if (byKeys) {
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Home);
            for (int i = 0; i < inside; ++i)
                QTest::keyClick(field, Qt::Key_Right);
            QCOMPARE(text->cursorPosition(), inside);
            return;
        }
        for (int x = 0; x < text->width(); ++x) {
            const QPoint at(x, text->height() / 2);
            if (text->cursorPositionAt(at) == inside) {
                QTest::mouseClick(text, Qt::LeftButton, {}, at);
                return;
            }
        }
        QFAIL("no place on the field's text shows that section");
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

    void cleanup()
    {
        m_panel.reset();
        m_row.reset();
        m_edit.reset();
    }

    void shownText_data()
    {
        QTest::addColumn<qint64>("microseconds");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("readBack");
        // Read back untouched, a field gives what it was given, not what it shows.
        QTest::newRow("all fields") << qint64(3723456789) << "01:02:03.456" << qint64(3723456789);
        // A clock field ends before 24 hours; longer media show its last moment.
        QTest::newRow("25 hours") << qint64(90000000000) << "23:59:59.999" << qint64(90000000000);
        QTest::newRow("negative") << qint64(-5) << "00:00:00.000" << qint64(0);
    }
    void shownText()
    {
        QFETCH(qint64, microseconds);
        QFETCH(QString, text);
        QFETCH(qint64, readBack);
        m_edit->setMicroseconds(microseconds);
        QCOMPARE(m_edit->text(), text);
        QCOMPARE(m_edit->microseconds(), readBack);
        // Once the shown time changes, the field holds what it shows.
        QTest::keyClick(m_edit.get(), Qt::Key_Down);
        QCOMPARE(m_edit->microseconds(), TimeOfDayToMicroseconds(m_edit->time()));
    }

    void arrowClick_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("arrow");
        QTest::addColumn<QString>("text");
        QTest::newRow("up") << qint64(5000000) << int(QStyle::SC_SpinBoxUp) << "00:00:06.000";
        QTest::newRow("up past the maximum")
            << qint64(9500000) << int(QStyle::SC_SpinBoxUp) << "00:00:10.000";
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

    void typedTimeBecomesTheCut_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<qint64>("cutStart");
        QTest::addColumn<qint64>("cutEnd");
        const qint64 start = Clock("00:10:00.000");
        const qint64 end = Clock("01:30:00.000");
        QTest::newRow("start at one hour") << "start"
                                           << "01:00:00.000"
                                           << "01:00:00.000" << Clock("01:00:00.000") << end;
        QTest::newRow("start with milliseconds") << "start"
                                                 << "01:20:30.250"
                                                 << "01:20:30.250" << Clock("01:20:30.250") << end;
        QTest::newRow("end in the first hour") << "end"
                                               << "00:45:10.000"
                                               << "00:45:10.000" << start << Clock("00:45:10.000");
        QTest::newRow("digits only") << "end"
                                     << "015805250"
                                     << "01:58:05.250" << start << Clock("01:58:05.250");
        QTest::newRow("end past the file") << "end"
                                           << "02:30:00.000"
                                           << "02:00:00.000" << start << kTwoHours;
        // The end settles at the start; the shortest cut is half a second.
        QTest::newRow("end before the start") << "end"
                                              << "00:05:00.000"
                                              << "00:10:00.500" << start << start + kSecond / 2;
    }
    // Select all, type a whole time, Enter.
    void typedTimeBecomesTheCut()
    {
        QFETCH(QString, field);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(qint64, cutStart);
        QFETCH(qint64, cutEnd);
        openPanel();
        if (QTest::currentTestFailed())
            return;
        MyQTimeEdit* edit = panelField(field);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QSignalSpy finished(edit, &QAbstractSpinBox::editingFinished);
        QTest::keyClicks(edit, keys);
        QCOMPARE(finished.count(), 0);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(m_row->cutStart, cutStart);
        QCOMPARE(m_row->cutEnd, cutEnd);
    }

    void typedSectionBecomesTheCut_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("section");
        QTest::addColumn<bool>("byKeys");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("hours") << "start" << 0 << false << "01"
                               << "01:10:00.000";
        QTest::newRow("minutes") << "start" << 1 << false << "59"
                                 << "00:59:00.000";
        QTest::newRow("seconds") << "end" << 2 << false << "07"
                                 << "01:30:07.000";
        QTest::newRow("milliseconds") << "start" << 3 << false << "250"
                                      << "00:10:00.250";
        QTest::newRow("minutes reached by keys") << "end" << 1 << true << "45"
                                                 << "01:45:00.000";
    }
    void typedSectionBecomesTheCut()
    {
        QFETCH(QString, field);
        QFETCH(int, section);
        QFETCH(bool, byKeys);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        openPanel();
        if (QTest::currentTestFailed())
            return;
        MyQTimeEdit* edit = panelField(field);
        const qint64 otherEnd = field == "start" ? m_row->cutEnd : m_row->cutStart;
        reachSection(edit, section, byKeys);
        if (QTest::currentTestFailed())
            return;
        QSignalSpy finished(edit, &QAbstractSpinBox::editingFinished);
        QTest::keyClicks(edit, keys);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(field == "start" ? m_row->cutStart : m_row->cutEnd, Clock(qPrintable(shown)));
        QCOMPARE(field == "start" ? m_row->cutEnd : m_row->cutStart, otherEnd);
    }

    // A field confirmed untouched keeps the range exactly, also where it
    // cannot show it: past a day, and below a millisecond.
    void confirmingLeavesTheRange_data()
    {
        QTest::addColumn<qint64>("duration");
        QTest::addColumn<qint64>("cutStart");
        QTest::addColumn<qint64>("cutEnd");
        const qint64 day = 24 * 3600 * kSecond;
        QTest::newRow("25-hour file") << day + 3600 * kSecond << qint64(0) << day + 3600 * kSecond;
        QTest::newRow("start past a day") << 2 * day << day + 7 * kSecond << 2 * day - kSecond;
        QTest::newRow("finer than a millisecond")
            << kTwoHours << Clock("00:10:00.000") + 400 << Clock("01:30:00.000") + 999;
    }
    void confirmingLeavesTheRange()
    {
        QFETCH(qint64, duration);
        QFETCH(qint64, cutStart);
        QFETCH(qint64, cutEnd);
        openPanel(duration, cutStart, cutEnd);
        if (QTest::currentTestFailed())
            return;
        for (MyQTimeEdit* field : {m_panel->endField(), m_panel->startField()}) {
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
            QTest::mouseClick(field, Qt::LeftButton); // a release also commits
        }
        QCOMPARE(m_row->cutStart, cutStart);
        QCOMPARE(m_row->cutEnd, cutEnd);
    }

    // What the list does when its last row goes: no trace of the last file.
    void emptiedPanelShowsNoRange()
    {
        openPanel();
        if (QTest::currentTestFailed())
            return;
        m_panel->setItem(nullptr);
        const QString zero = QStringLiteral("00:00:00.000");
        for (MyQTimeEdit* field : {m_panel->startField(), m_panel->endField()}) {
            QCOMPARE(field->text(), zero);
            QVERIFY(!field->isEnabled());
        }
        for (QLabel* label :
             {m_panel->currentTimeLabel(), m_panel->durationLabel(), m_panel->selectionLabel()})
            QCOMPARE(label->text(), zero);
        QCOMPARE(m_panel->trimSlider()->currentValue(), qint64(0));
        QVERIFY(!m_panel->trimSlider()->isEnabled());
    }
};

QTEST_MAIN(TestTimeEdit)
#include "test_timeedit.moc"
