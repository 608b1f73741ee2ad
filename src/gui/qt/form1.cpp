#include "gui/qt/form1.h"

#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include "app/form1_layout.h"
#include "common/error_report.h"
#include "gui/qt/artwork.h"
#include "gui/qt/busy_scope.h"
#include "gui/qt/window_builder.h"
#include "pages/dot_matrix_page.h"
#include "pages/pcl_page.h"
#include "printing/print_flow.h"

namespace quorvel::qt {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

Form1::Form1(DesktopServices& services, int dpi) : services_(services), dpi_(dpi) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(ToQString(kForm1Layout.caption));
  setWindowIcon(WindowIcon());
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  setCentralWidget(client);
  BuildControls(kForm1Layout, client, dpi_);
  BuildMenus();

  auto* image1 = client->findChild<ClickableLabel*>(QStringLiteral("Image1"));
  image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image1->setPixmap(Logo());
  image1->onClick = [this] { Image1_Click(); };
  combo1_ = client->findChild<QComboBox*>(QStringLiteral("Combo1"));
  combo_.emplace(*combo1_);
  connect(client->findChild<QPushButton*>(QStringLiteral("Command1")), &QPushButton::clicked, this,
          [this] { Command1_Click(); });
  connect(client->findChild<QPushButton*>(QStringLiteral("Command2")), &QPushButton::clicked, this,
          [this] { Command2_Click(); });
  resize(TwipsToPixels(kForm1Layout.clientWidth, dpi_),
         TwipsToPixels(kForm1Layout.clientHeight, dpi_) + menuBar()->sizeHint().height());
  combo1_->setFocus();
  Form_Load();
}

Form1::~Form1() {
  delete about_.data();
}

void Form1::BuildMenus() {
  QMenu* file = menuBar()->addMenu(ToQString(kFileMenu));
  file->setObjectName(QStringLiteral("File"));
  QAction* exit = file->addAction(ToQString(kExitItem), this, [this] { Exit_Click(); });
  exit->setObjectName(QStringLiteral("Exit"));
  QMenu* help = menuBar()->addMenu(ToQString(kHelpMenu));
  help->setObjectName(QStringLiteral("Help"));
  QAction* about = help->addAction(ToQString(kAboutItem), this, [this] { About_Click(); });
  about->setObjectName(QStringLiteral("About"));
}

void Form1::ShowCentred() {
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  show();
}

void Form1::Form_Load() {
  RunHandler("Reading the installed printers", services_.messages,
             [this] { GetPrinters(CurrentPrinters(), *combo_); });
}

// The current printer starts as the user's default; reading it is retried at the next use when
// the printer list could not be asked at start-up.
Printers& Form1::CurrentPrinters() {
  if (!printers_) {
    printers_.emplace(services_.printerList);
  }
  return *printers_;
}

void Form1::Exit_Click() {
  delete about_.data();
  hide();
  if (services_.endProgram) {
    services_.endProgram();
  }
}

void Form1::About_Click() {
  RunHandler("Opening the About window", services_.messages, [this] {
    if (about_.isNull()) {
      about_ = new AboutWindow(services_, dpi_);
      if (const QScreen* screen = this->screen()) {
        about_->move(screen->availableGeometry().center() - about_->rect().center());
      }
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
  });
}

void Form1::Command1_Click() {
  SendTestPage("Sending the dot-matrix test page", &ComposeDotMatrixPage);
}

void Form1::Command2_Click() {
  SendTestPage("Sending the PCL test page", &ComposePclPage);
}

// Runs one test print with the wait cursor; clicks that arrive while it runs are ignored.
void Form1::SendTestPage(std::string_view action, PageComposer composer) {
  if (busy_) {
    return;
  }
  BusyScope busy(busy_);
  ReleasingMessageDisplay messages(busy, services_.messages);
  RunHandler(action, messages, [&] {
    PrintTestPage({CurrentPrinters(), *combo_, services_.spooler, messages}, composer);
  });
}

}  // namespace quorvel::qt
