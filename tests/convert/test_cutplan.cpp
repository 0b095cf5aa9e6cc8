// The lossless cut's planning on synthetic streams: where frames are encoded
// again, where packets are copied, and what the join list says.
#include "convert/cutplan.h"
#include "media/frameindex.h"

#include <QTest>

namespace {

constexpr qint64 kFrameUs = 40000; // 25 fps

struct Packet
{
    int pts;
    int dts;
    bool key;
};

// Decode order of `frames` frames at 25 fps with a keyframe every `gop`
// frames. With `reorder`, each keyframe is followed by groups of a forward
// frame and the three frames before it, and decode times run two frames
// behind, as an encoder with B-frames writes them.
QList<Packet> Stream(int frames, int gop, bool reorder)
{
    QList<Packet> order;
    for (int g = 0; g < frames; g += gop) {
        const int last = qMin(g + gop, frames) - 1;
        order.append({g, 0, true});
        for (int k = g + 1; k <= last; k += 4) {
            const int anchor = qMin(k + 3, last);
            if (!reorder) {
                for (int f = k; f <= anchor; ++f)
                    order.append({f, 0, false});
                continue;
            }
            order.append({anchor, 0, false});
            for (int f = k; f < anchor; ++f)
                order.append({f, 0, false});
        }
    }
    for (int i = 0; i < order.size(); ++i)
        order[i].dts = reorder ? i - 2 : i;
    return order;
}

// What the prober prints for such a stream (time base 1/25).
QByteArray ProbeText(const QList<Packet>& packets, int reorder, const QString& codec = "h264",
                     const QString& extra = QString())
{
    QByteArray text = QStringLiteral("stream|codec_name=%1|profile=High|level=30|pix_fmt=yuv420p|"
                                     "codec_tag_string=avc1|width=320|height=240|time_base=1/25|"
                                     "avg_frame_rate=25/1|has_b_frames=%2%3\n")
                          .arg(codec)
                          .arg(reorder)
                          .arg(extra)
                          .toUtf8();
    for (const Packet& p : packets)
        text += QStringLiteral("packet|pts=%1|dts=%2|flags=%3\n")
                    .arg(p.pts)
                    .arg(p.dts)
                    .arg(p.key ? "K_" : "__")
                    .toUtf8();
    text += "format|start_time=0.000000|duration=" +
            QByteArray::number(double(packets.size()) / 25.0, 'f', 6) + "\n";
    return text;
}

FrameIndex Index(int frames, int gop, bool reorder)
{
    return ParseFrameIndex(ProbeText(Stream(frames, gop, reorder), reorder ? 2 : 0));
}

qint64 Frames(int n)
{
    return n * kFrameUs;
}

// "E 3-10" for an encoded piece over frames 3 to 9, "C 10-48" for a copy.
QString Describe(const QList<CutPiece>& pieces)
{
    QStringList parts;
    for (const CutPiece& piece : pieces) {
        const qint64 from = piece.start / kFrameUs;
        const qint64 to = (piece.start + piece.duration) / kFrameUs;
        parts << QStringLiteral("%1 %2-%3")
                     .arg(piece.kind == CutPiece::Encode ? "E" : "C")
                     .arg(from)
                     .arg(to);
    }
    return parts.join(", ");
}

} // namespace

class TestCutPlan : public QObject
{
    Q_OBJECT

private slots:
    void readsTheProbersIndex()
    {
        const FrameIndex index = Index(150, 50, true);
        QVERIFY(index.valid);
        QCOMPARE(index.keyframeTimes(), (QList<qint64>{0, Frames(50), Frames(100)}));
        QCOMPARE(index.framePts.size(), 150);
        QCOMPARE(index.frameDuration(), kFrameUs);
        QVERIFY(!index.openGop);
        // Frames shown before a keyframe but decoded after it mark open groups.
        QList<Packet> open = Stream(100, 50, true);
        std::swap(open[50], open[51]);
        open[50].key = false;
        open[51].key = true;
        open[52].pts = 49; // shown before the keyframe at 50
        QVERIFY(ParseFrameIndex(ProbeText(open, 2)).openGop);
        QVERIFY(!ParseFrameIndex("nothing useful\n").valid);
    }

    // A value may hold the writer's escaped separator; the rest of the line
    // must still be read.
    void readsEscapedValues()
    {
        const FrameIndex index = ParseFrameIndex(
            ProbeText(Stream(10, 5, false), 0, "h264",
                      "|extradata=\\n00000000: 7c01 02                                  \\|..\\n"));
        QCOMPARE(index.extradata, QByteArray("\x7c\x01\x02", 3));
        QCOMPARE(index.keyframePts.size(), 2);
    }

    void plans_data()
    {
        QTest::addColumn<bool>("reorder");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("start"); // in frames
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("pieces");
        QTest::addColumn<int>("keptStart");
        QTest::addColumn<int>("keptEnd");
        const int exact = int(CutMode::Exact);
        const int keyframe = int(CutMode::Keyframe);
        // Frames up to the next keyframe encoded, the rest copied.
        QTest::newRow("exact, plain frames")
            << false << exact << 10 << 120 << "E 10-50, C 50-120" << 10 << 120;
        // With reordered frames the copy ends where a group of them ends, and
        // the two frames after that are encoded as well.
        QTest::newRow("exact, reordered frames")
            << true << exact << 10 << 119 << "E 10-50, C 50-117, E 117-119" << 10 << 119;
        QTest::newRow("exact, on keyframes")
            << true << exact << 50 << 100 << "C 50-100" << 50 << 100;
        QTest::newRow("exact, to the end")
            << true << exact << 60 << 150 << "E 60-100, C 100-150" << 60 << 150;
        QTest::newRow("exact, within one group")
            << true << exact << 55 << 70 << "E 55-70" << 55 << 70;
        QTest::newRow("keyframe, plain frames")
            << false << keyframe << 10 << 119 << "C 0-119" << 0 << 119;
        QTest::newRow("keyframe, reordered frames")
            << true << keyframe << 60 << 119 << "C 50-117" << 50 << 117;
    }

    void plans()
    {
        QFETCH(bool, reorder);
        QFETCH(int, mode);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, pieces);
        QFETCH(int, keptStart);
        QFETCH(int, keptEnd);
        const FrameIndex index = Index(150, 50, reorder);
        // A few microseconds off the frame, as typed times are.
        const ItemCutPlan plan =
            PlanItemCut(index, Frames(start) + 7, Frames(end) - 9, CutMode(mode), "mp4");
        QVERIFY2(plan.ok, qPrintable(plan.error));
        QCOMPARE(Describe(plan.video), pieces);
        QCOMPARE(plan.keptStart, Frames(keptStart));
        QCOMPARE(plan.keptEnd, Frames(keptEnd));
        qint64 covered = 0;
        for (const CutPiece& piece : plan.video)
            covered += piece.duration;
        QCOMPARE(covered, plan.keptDuration());
    }

    // A copy that ends inside the file stops at a decode time between the
    // last packet it keeps and the first it leaves out.
    void copiesEndBetweenDecodeTimes()
    {
        const FrameIndex index = Index(150, 50, true);
        const ItemCutPlan plan = PlanItemCut(index, Frames(50), Frames(100), CutMode::Exact, "mkv");
        QCOMPARE(plan.video.size(), 1);
        const CutPiece& copy = plan.video.first();
        // The keyframe at 100 is decoded at frame 98; the packet before it at 97.
        QVERIFY(copy.outpoint > Frames(97) && copy.outpoint < Frames(98));
    }

    // A file that broke off is joined again with its plan ended where its
    // picture can stop cleanly before the break.
    void endingAPlanEarly_data()
    {
        QTest::addColumn<int>("start"); // the exact plan's range, in frames
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("until");
        QTest::addColumn<QString>("pieces"); // empty: refused, plan unchanged
        QTest::newRow("inside the copy") << 10 << 150 << 90 << "E 10-50, C 50-87";
        QTest::newRow("drops the encoded tail") << 10 << 119 << 118 << "E 10-50, C 50-117";
        QTest::newRow("just past the encoded head") << 10 << 150 << 52 << "E 10-50, C 50-51";
        QTest::newRow("inside the encoded head") << 10 << 150 << 30 << "";
        QTest::newRow("not shorter") << 10 << 119 << 119 << "";
    }

    void endingAPlanEarly()
    {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, until);
        QFETCH(QString, pieces);
        const FrameIndex index = Index(150, 50, true);
        const ItemCutPlan before =
            PlanItemCut(index, Frames(start), Frames(end), CutMode::Exact, "mp4");
        ItemCutPlan plan = before;
        QCOMPARE(EndPlanEarly(index, Frames(until), &plan), !pieces.isEmpty());
        QCOMPARE(Describe(plan.video), pieces.isEmpty() ? Describe(before.video) : pieces);
        QCOMPARE(plan.keptEnd, plan.video.last().start + plan.video.last().duration);
        QVERIFY(pieces.isEmpty() ? plan.keptEnd == before.keptEnd : plan.keptEnd <= Frames(until));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("reorder");
        QTest::addColumn<QString>("reason"); // empty: spliced
        QTest::newRow("h264 in mp4") << "h264"
                                     << "mp4" << true << "";
        QTest::newRow("h264 in mkv") << "h264"
                                     << "MKV" << true << "";
        QTest::newRow("mpeg4 in avi") << "mpeg4"
                                      << "avi" << false << "";
        QTest::newRow("reordered mpeg4 in avi") << "mpeg4"
                                                << "avi" << true << "container";
        QTest::newRow("h264 in ts") << "h264"
                                    << "ts" << false << "container";
        QTest::newRow("prores") << "prores"
                                << "mov" << false << "no matching encoder";
    }

    void refusals()
    {
        QFETCH(QString, codec);
        QFETCH(QString, suffix);
        QFETCH(bool, reorder);
        QFETCH(QString, reason);
        const FrameIndex index =
            ParseFrameIndex(ProbeText(Stream(100, 50, reorder), reorder ? 2 : 0, codec));
        const QString refusal = SpliceRefusal(index, suffix);
        if (reason.isEmpty())
            QCOMPARE(refusal, QString());
        else
            QVERIFY2(refusal.contains(reason), qPrintable(refusal));
        // A refused exact cut is handed back whole, never half made.
        const ItemCutPlan plan = PlanItemCut(index, Frames(10), Frames(60), CutMode::Exact, suffix);
        QCOMPARE(plan.reencodeReason, refusal);
        QCOMPARE(plan.video.isEmpty(), !refusal.isEmpty());
    }

    void snapping()
    {
        const FrameIndex index = Index(150, 50, true);
        QCOMPARE(SnapToKeyframe(index, Frames(73)), Frames(50));
        QCOMPARE(SnapToKeyframe(index, Frames(100) - 5), Frames(100)); // rounding slack
        QCOMPARE(SnapEndToCleanPoint(index, Frames(119)), Frames(117));
        QCOMPARE(SnapEndToCleanPoint(index, Frames(150)), Frames(150)); // the end of the file
        QCOMPARE(SnapEndToCleanPoint(Index(150, 50, false), Frames(119)), Frames(119));
    }

    void encoderSettingsFromTheStream()
    {
        const QByteArray sei = QByteArray("\x01\x02x265 (build 199) - 3.5 - options: cpuid=1 "
                                          "frame-threads=2 wpp no-sao deblock=0:0 bframes=3 "
                                          "b-pyramid rc=crf crf=28.0 colorprim=2 fps=25/1") +
                               QByteArray(1, '\0') + "tail";
        QCOMPARE(X265ParamsFromExtradata(sei),
                 QStringLiteral("wpp=1:no-sao=1:deblock=0,0:bframes=3:b-pyramid=1:fps=25/1"));
        QCOMPARE(X265ParamsFromExtradata("no settings here"), QString());
    }

    void hevcParameterSets()
    {
        QByteArray record(22, '\0');
        record[0] = 1;
        record += char(3); // arrays
        const auto array = [&record](int type, const QList<QByteArray>& units) {
            record += char(type);
            record += char(0);
            record += char(units.size());
            for (const QByteArray& unit : units) {
                record += char(0);
                record += char(unit.size());
                record += unit;
            }
        };
        array(32, {"vps"});
        array(39, {"sei that differs"}); // not a parameter set
        array(33, {"sps", "sps2"});
        QCOMPARE(HevcParameterSets(record), (QList<QByteArray>{"vps", "sps", "sps2"}));
        QVERIFY(HevcParameterSets(record.left(record.size() - 2)).isEmpty());
    }

    void concatList_data()
    {
        QTest::addColumn<QList<ConcatEntry>>("entries");
        QTest::addColumn<QByteArray>("expected"); // empty: refused
        ConcatEntry copy;
        copy.path = "/v/it's.mp4";
        copy.inpoint = 2000001;
        copy.outpoint = -80000;
        copy.duration = 4800000;
        ConcatEntry piece;
        piece.path = QString::fromUtf8("/w/Grüße.mkv");
        QTest::newRow("directives and quoting")
            << QList<ConcatEntry>{piece, copy}
            << QByteArray("ffconcat version 1.0\nfile '/w/Gr\xc3\xbc\xc3\x9f"
                          "e.mkv'\nfile '/v/it'\\''s.mp4'\ninpoint 2.000001\n"
                          "outpoint -0.080000\nduration 4.800000\n");
        // A line break would smuggle a second entry into the list.
        ConcatEntry evil;
        evil.path = "/v/a\nfile '/etc/passwd'.mp4";
        QTest::newRow("line break refused") << QList<ConcatEntry>{piece, evil} << QByteArray();
    }

    void concatList()
    {
        QFETCH(QList<ConcatEntry>, entries);
        QFETCH(QByteArray, expected);
        QCOMPARE(ConcatListBytes(entries), expected);
    }
};

QTEST_GUILESS_MAIN(TestCutPlan)
#include "test_cutplan.moc"
