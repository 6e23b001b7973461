// The installation report as the customer gets it: the PDF's text, read back with pdftotext, holds every value set,
// Cyrillic included; a target that cannot be written leaves nothing behind.

#include "installreport.h"
#include "tankkind.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

enum class OutputE { Pdf, Printer };

} // namespace

Q_DECLARE_METATYPE(TankConfigRecord_t)
Q_DECLARE_METATYPE(OutputE)

namespace {

const TankConfigRecord_t CATALOGUE_TOROID = makeTankRecord(2, TankKindE::Toroid, 630, 250, 172, 3);

SensorProfile_t sampleSetup(const TankConfigRecord_t& active) {
    SensorProfile_t setup;
    setup.saved = QDateTime(QDate(2025, 3, 12), QTime(14, 5));
    setup.programVersion = QStringLiteral("2.0.4");
    setup.portName = QStringLiteral("Velmaro#0001");
    setup.sensor.info = {QStringLiteral("Velmaro LS-1"), QStringLiteral("HW-2.1"), QStringLiteral("FW-1.7.3")};
    setup.sensor.tankConfig = {70, QStringLiteral("Butane"), 2};
    setup.sensor.records = {makeTankRecord(0, TankKindE::CylinderH, 300, 640, 0, 3), active};
    setup.sensor.omnicomm = {17, true, QStringLiteral("litres"), 25};
    setup.sensor.calibration = Calibration_t{0, 1234};
    return setup;
}

const QString NOTE = QStringLiteral("под <кузовом> & рамой");

// A row of report_data: the present and absent texts follow.
QTestData& row(const char* name, const TankConfigRecord_t& tank = CATALOGUE_TOROID, const QString& note = NOTE,
               bool withCurve = true, OutputE output = OutputE::Pdf, const QString& target = "report.pdf") {
    return QTest::newRow(name) << tank << note << withCurve << output << target;
}

QImage sampleCurve() {
    QImage curve(400, 200, QImage::Format_RGB32);
    curve.fill(Qt::white);
    QPainter(&curve).drawLine(0, 199, 399, 0);
    return curve;
}

// The PDF's text with every run of blanks and line breaks as one blank; empty when pdftotext fails.
QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, "-"});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void report_data() {
        QTest::addColumn<TankConfigRecord_t>("tank");
        QTest::addColumn<QString>("note");
        QTest::addColumn<bool>("withCurve");
        QTest::addColumn<OutputE>("output");
        QTest::addColumn<QString>("target"); // relative to a fresh directory holding a regular file "plain"
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        row("identity") << QStringList{"Velmaro LS-1", "HW-2.1", "FW-1.7.3",
                                       "Velmaro#0001", "2.0.4",  "12.03.2025 14:05"}
                        << QStringList{};
        row("details, escaped") << QStringList{"ГАЗель Next", "А123ВС 77", "Иванов И. И.", "под <кузовом> & рамой"}
                                << QStringList{"&lt;", "&amp;"};
        row("catalogue toroid") << QStringList{"Форма Тороидальный",         "Внешний диаметр, мм 630",
                                               "Внутренний диаметр, мм 172", "Высота, мм 250",
                                               "Типоразмер 630x250 60L",     "Толщина стенки, мм 3"}
                                << QStringList{"задан вручную"};
        row("toroid, other inner diameter", makeTankRecord(2, TankKindE::Toroid, 630, 250, 180, 3))
            << QStringList{"Тороидальный", "Внутренний диаметр, мм 180", "Типоразмер задан вручную"}
            << QStringList{"60L"};
        row("solid, catalogue", makeTankRecord(2, TankKindE::CylinderP, 720, 270, 0, 4))
            << QStringList{"Полнотелый", "Диаметр, мм 720", "Высота, мм 270", "720x270 93L"}
            << QStringList{"Внутренний"};
        row("horizontal, by hand", makeTankRecord(2, TankKindE::CylinderH, 300, 700, 0, 5))
            << QStringList{"Цилиндрический горизонтальный", "Диаметр, мм 300", "Длина, мм 700", "задан вручную"}
            << QStringList{};
        row("vertical, catalogue", makeTankRecord(2, TankKindE::CylinderV, 356, 920, 0, 3))
            << QStringList{"Цилиндрический вертикальный", "Диаметр, мм 356", "Высота, мм 920", "356x920 80L"}
            << QStringList{};
        row("mixture, calibration, RS485")
            << QStringList{"пропан 70 %, бутан 30 %", "Жидкость бутан", "Пустой бак -", "Полный бак 1234", "Адрес 17",
                           "Периодическая выдача да", "Период, с 25",   "Единицы Литры"}
            << QStringList{};
        row("curve, signatures") << QStringList{"График проверки", "Установщик: ___", "Ф. И. О.: Иванов И. И.",
                                                "Заказчик: ___"}
                                 << QStringList{};
        row("no curve", CATALOGUE_TOROID, NOTE, false) << QStringList{"Заказчик:"} << QStringList{"График проверки"};
        // The end goes onto a second page rather than being cut off.
        row("note longer than the page", CATALOGUE_TOROID, QStringLiteral("строка\n").repeated(80) + "конец")
            << QStringList{"конец", "Заказчик:"} << QStringList{};
        row("printed", CATALOGUE_TOROID, NOTE, true, OutputE::Printer)
            << QStringList{"Тороидальный", "630x250 60L", "Полный бак 1234"} << QStringList{};
        row("unwritable target", CATALOGUE_TOROID, NOTE, true, OutputE::Pdf, QStringLiteral("plain/report.pdf"))
            << QStringList{} << QStringList{};
    }
    void report() {
        QFETCH(TankConfigRecord_t, tank);
        QFETCH(QString, note);
        QFETCH(bool, withCurve);
        QFETCH(OutputE, output);
        QFETCH(QString, target);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString path = dir.filePath(target);
        const SensorProfile_t setup = sampleSetup(tank);
        const ReportDetails_t details{QStringLiteral("ГАЗель Next"), QStringLiteral("А123ВС 77"),
                                      QStringLiteral("Иванов И. И."), note};
        const QImage curve = withCurve ? sampleCurve() : QImage();

        QString error;
        bool written = true;
        if (output == OutputE::Printer) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printReport(printer, setup, details, curve);
        } else {
            written = writeReportPdf(path, setup, details, curve, error);
        }
        if (present.isEmpty()) {
            QVERIFY(!written);
            QVERIFY2(error.contains(QStringLiteral("Не удалось сохранить отчёт")), qPrintable(error));
            QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList{QStringLiteral("plain")});
            QCOMPARE(plain.size(), 0);
            return;
        }
        QVERIFY2(written, qPrintable(error));
        const QString text = pdfText(path);
        for (const QString& expected : present)
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" missing in: ") + text));
        for (const QString& unexpected : absent)
            QVERIFY2(!text.contains(unexpected), qPrintable(unexpected + QStringLiteral(" found in: ") + text));
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
