#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "calibrationdialog.h"
#include "diagnosticdialog.h"
#include "firstpaint.h"
#include "okmessagebox.h"
#include "profiledialog.h"
#include "propertiesdialog.h"
#include "reportdialog.h"
#include "resources.h"
#include "tofwidget.h"

#include "accessiblename.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>

namespace {

bool isHoliday(const QDate& date) {
    return date.month() == 12 && date.day() >= 25;
}

} // namespace

MainWindow_t::MainWindow_t(QWidget* parent, const QDate& today, PortSource_t portSource)
    : QMainWindow(parent), ui(new Ui::MainWindow),
      propertiesDialogP(new PropertiesDialog_t(nullptr, dialogWindowFlags())), tofWidgetP(new TofWidget_t),
      calibrationDialogP(new CalibrationDialog_t(nullptr, dialogWindowFlags())),
      diagnosticDialogP(new DiagnosticDialog_t(nullptr, dialogWindowFlags())), statusLine(*statusBar()) {
    initResources();
    ui->setupUi(this);
    tankTabP = &ui->tabParameters->tanks();

    if (isHoliday(today))
        setWindowIcon(QIcon(QStringLiteral(":/Lumo_logo_New.ico")));
    ui->tabWidgetP->insertTab(1, tofWidgetP, tr("Тест"));
    makeTabsScrollable();
    ui->tabWidgetP->setCurrentIndex(0);
    showDisconnected();

    nameAfter(ui->cboxSerialListP, ui->lblSerialList->text());
    setUpConversation();
    connect(ui->tabAboutDevice->saveProfileButton(), &QPushButton::clicked, this, &MainWindow_t::slotSaveProfile);
    connect(ui->tabAboutDevice->loadProfileButton(), &QPushButton::clicked, this, &MainWindow_t::slotLoadProfile);
    connect(ui->tabAboutDevice->reportButton(), &QPushButton::clicked, this, &MainWindow_t::slotReport);
    setUpPorts(std::move(portSource));
    fitScreen();
    // The port scan, the pictures' decoding and the first rich text (the links on the About tab, not shown at start)
    // would delay the window's first appearance.
    runAfterFirstPaint(this, [this] {
        watchPorts();
        showPictures();
        ui->tabAboutDevice->showHelpLinks();
    });
}

MainWindow_t::~MainWindow_t() {
    delete connectionP; // stops the serial thread and closes the port
    delete reportDialogP;
    delete profileDialogP;
    delete diagnosticDialogP;
    delete calibrationDialogP;
    delete propertiesDialogP;
    delete ui;
}

void MainWindow_t::setControlsEnabled(bool enabled) {
    for (QPushButton* control :
         {ui->tabParameters->applyButton(), ui->tabAboutDevice->resetCalibrationButton(),
          propertiesDialogP->applyButton(), calibrationDialogP->emptyButton(), calibrationDialogP->fullButton(),
          tofWidgetP->startStopButton(), ui->tabAboutDevice->saveProfileButton(),
          ui->tabAboutDevice->loadProfileButton(), ui->tabAboutDevice->reportButton()})
        control->setEnabled(enabled);
}

void MainWindow_t::setOmnicommControlsEnabled(bool enabled) {
    ui->tabOmni->setControlsEnabled(enabled);
}

void MainWindow_t::makeTabsScrollable() {
    // A small or highly scaled screen scrolls a tab instead of cutting it; the test page's plot shrinks by itself.
    // The parameters tab's buttons stay in sight below its scrolled part.
    makeScrollable(ui->tabParameters, ui->tabParameters->footerRows());
    makeScrollable(ui->tabOmni, {});
    makeScrollable(ui->tabAboutDevice, {});
}

void MainWindow_t::makeScrollable(QWidget* page, const QList<QLayout*>& footer) {
    const int index = ui->tabWidgetP->indexOf(page);
    const QString title = ui->tabWidgetP->tabText(index);
    ui->tabWidgetP->removeTab(index);
    auto* tab = new QWidget;
    auto* column = new QVBoxLayout(tab);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* scroll = new QScrollArea(tab);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    // The tab's own background through the scrolled part, as under the rows below it.
    scroll->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    column->addWidget(scroll, 1);
    auto* rows = new QVBoxLayout;
    const QMargins margins = page->layout()->contentsMargins();
    rows->setContentsMargins(margins.left(), 0, margins.right(), margins.bottom());
    rows->setSpacing(page->layout()->spacing());
    for (QLayout* row : footer) {
        page->layout()->removeItem(row);
        rows->addLayout(row); // takes the row's widgets along
    }
    column->addLayout(rows);
    ui->tabWidgetP->insertTab(index, tab, title);
}

void MainWindow_t::fitScreen() {
    // The form's size, unless the screen is smaller; the room left for the window manager's title bar is a guess.
    constexpr int TITLE_BAR_ROOM = 40;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(size().boundedTo(screen->availableGeometry().size() - QSize(0, TITLE_BAR_ROOM)));
}

void MainWindow_t::showPictures() {
    // Shown already, so the logo is scaled to the label's real size; the labels' minimum sizes hold the pictures,
    // so the layout does not move.
    ui->lblLogo->setPixmap(QPixmap(QStringLiteral(":/Images/Logo.png"))
                               .scaled(ui->lblLogo->size(), Qt::KeepAspectRatio, Qt::FastTransformation));
    ui->tabParameters->showPictures();
}

ProfileDialog_t& MainWindow_t::profileDialog() {
    if (!profileDialogP)
        profileDialogP = new ProfileDialog_t(nullptr, dialogWindowFlags());
    return *profileDialogP;
}

ReportDialog_t& MainWindow_t::reportDialog() {
    if (!reportDialogP) {
        reportDialogP = new ReportDialog_t(nullptr, dialogWindowFlags());
        connect(reportDialogP, &ReportDialog_t::signSavePdf, this, &MainWindow_t::slotSaveReport);
        connect(reportDialogP, &ReportDialog_t::signPrint, this, &MainWindow_t::slotPrintReport);
    }
    return *reportDialogP;
}
