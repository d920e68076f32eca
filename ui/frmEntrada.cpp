#include "frmEntrada.h"

#include "controles.h"
#include "frmMsg.h"
#include "fuentes.h"
#include "modMain.h"
#include "twips.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <filesystem>

frmEntrada::frmEntrada(Servicios &servicios, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , servicios_(servicios)
{
    setObjectName(QStringLiteral("frmEntrada"));
    setWindowTitle(QStringLiteral("Cotarel Ver 1.0"));
    setWindowIcon(QIcon(QStringLiteral(":/imagenes/entrada.png")));
    setFixedSize(twips::Tamano(5520, 3660));
    CrearControles();
    connect(cmdProcesar, &QPushButton::clicked, this, &frmEntrada::cmdProcesar_Click);
    connect(Command2, &QPushButton::clicked, this, &frmEntrada::Command2_Click);
    Image1->installEventFilter(this);
    modMain::ConectarInterfaz(this);
    Form_Load();
}

frmEntrada::~frmEntrada()
{
    modMain::ConectarInterfaz(nullptr);
}

void frmEntrada::CrearControles()
{
    Label2 = CrearControl<QLabel>(
        this, "Label2", twips::Rectangulo(120, 120, 5175, 855), fuentes::SansSerif(8.25));
    Label2->setText(QStringLiteral(
        "Seleccione un fichero CSB y pulse procesar. Si algún DC es erroneo le aparecerá un "
        "mensaje de proceso terminado incorrectamente y se generará un fichero con el mismo "
        "nombre del fichero de entrada con extensión .log"));
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setWordWrap(true);

    Frame1 = CrearControl<QGroupBox>(
        this, "Frame1", twips::Rectangulo(120, 1080, 5295, 975), fuentes::SansSerif(9.75));
    Frame1->setTitle(QStringLiteral("Fichero Origen"));
    tbEntrada = CrearControl<QLineEdit>(
        Frame1, "tbEntrada", twips::Rectangulo(240, 360, 3735, 405), fuentes::SansSerif(8.25));
    tbEntrada->setReadOnly(true);
    Image1 = CrearControl<QLabel>(
        Frame1, "Image1", twips::Rectangulo(4320, 360, 480, 360), fuentes::SansSerif(8.25));
    Image1->setPixmap(QPixmap(QStringLiteral(":/imagenes/carpeta.png")));
    Image1->setScaledContents(true);
    Image1->setCursor(Qt::PointingHandCursor);

    Frame2 = CrearControl<QGroupBox>(
        this, "Frame2", twips::Rectangulo(120, 2160, 5295, 975), fuentes::SansSerif(9.75));
    Frame2->setTitle(QStringLiteral("Fichero Destino"));
    tbSalida = CrearControl<QLineEdit>(
        Frame2, "tbSalida", twips::Rectangulo(240, 360, 4575, 405), fuentes::SansSerif(8.25));
    tbSalida->setReadOnly(true);
    QPalette paleta = tbSalida->palette();
    paleta.setColor(QPalette::Base, paleta.color(QPalette::Button));
    paleta.setColor(QPalette::Text, Qt::black);
    tbSalida->setPalette(paleta);

    cmdProcesar = CrearControl<QPushButton>(
        this, "cmdProcesar", twips::Rectangulo(3000, 3240, 1215, 375), fuentes::SansSerif(9.75));
    cmdProcesar->setText(QStringLiteral("&Procesar"));
    cmdProcesar->setEnabled(false);
    Command2 = CrearControl<QPushButton>(
        this, "Command2", twips::Rectangulo(4320, 3240, 1095, 375), fuentes::SansSerif(9.75));
    Command2->setText(QStringLiteral("C&errar"));
    for (QPushButton *boton : { cmdProcesar, Command2 }) {
        boton->setAutoDefault(true); // Enter presses the focused button, as Space does
    }

    // The logo is taller than the room left under the buttons: its foot is cut off.
    Image2 = CrearControl<QLabel>(
        this, "Image2", twips::Rectangulo(0, 3240, 2850, 450), fuentes::SansSerif(8.25));
    Image2->setPixmap(QPixmap(QStringLiteral(":/imagenes/logo.png")));
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image2->lower();

    // Tab order by tab index: tbEntrada, cmdProcesar, Command2, tbSalida.
    for (QWidget *sinFoco :
        std::initializer_list<QWidget *> { Label2, Frame1, Frame2, Image1, Image2 }) {
        sinFoco->setFocusPolicy(Qt::NoFocus);
    }
    setTabOrder(tbEntrada, cmdProcesar);
    setTabOrder(cmdProcesar, Command2);
    setTabOrder(Command2, tbSalida);
    tbEntrada->setFocus();
}

void frmEntrada::Form_Load()
{
    move(x(), 0); // Top first, then Left
    move(0, y());
    CajaComun.DialogTitle = QStringLiteral("Abrir fichero a filtrar");
}

bool frmEntrada::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == Image1 && evento->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(evento)->button() == Qt::LeftButton
        && Image1->rect().contains(static_cast<QMouseEvent *>(evento)->position().toPoint())) {
        Image1_Click();
        return true;
    }
    return QWidget::eventFilter(objeto, evento);
}

void frmEntrada::Image1_Click()
{
    CajaComun.InitDir = QCoreApplication::applicationDirPath();
    servicios_.MostrarAbrir(this, CajaComun);
    modMain::FicheroEntrada = CajaComun.FileName.toStdString();
    tbEntrada->setText(CajaComun.FileName);
    if (tbEntrada->text().isEmpty()) {
        return;
    }
    modMain::FicheroSalida = modMain::DerivarNombreLog(modMain::FicheroEntrada);
    ConfirmarNombreLog();
    ComprobarPrimeraLinea();
}

namespace {

// A file or a link that a run would replace; anything else at the log path (a
// folder, a device) is refused by the run itself, never replaced.
bool HayLogQueReemplazar(const std::string &ruta)
{
    std::error_code error;
    const auto estado = std::filesystem::symlink_status(ruta, error);
    return std::filesystem::is_regular_file(estado) || std::filesystem::is_symlink(estado);
}

QString Texto(std::string_view texto)
{
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

QString Texto(modMain::Fallo fallo)
{
    return Texto(modMain::Mensaje(fallo));
}

} // namespace

// An existing log is replaced only when the user agrees to it.
void frmEntrada::ConfirmarNombreLog()
{
    if (HayLogQueReemplazar(modMain::FicheroSalida)
        && !servicios_.Preguntar(
            this, QStringLiteral("El fichero de salida ya existe ¿Desea sobreescribirlo?"))) {
        tbSalida->setText(QString());
        modMain::FicheroSalida.clear();
        cmdProcesar->setEnabled(false);
        return;
    }
    tbSalida->setText(QString::fromStdString(modMain::FicheroSalida));
    cmdProcesar->setEnabled(true);
}

void frmEntrada::ComprobarPrimeraLinea()
{
    const auto tipo = modMain::ClasificarFichero(modMain::FicheroEntrada);
    if (!tipo) {
        servicios_.Mensaje(this, Texto(modMain::Fallo::NoSePuedeAbrirEntrada));
        cmdProcesar->setEnabled(false);
        return;
    }
    if (*tipo == modMain::TipoArchivo::NoCSB) {
        servicios_.Mensaje(this, Texto(modMain::Fallo::NoEsCSB));
        cmdProcesar->setEnabled(false);
    }
}

// A run that stopped before its end has said why in its own message; it has
// no outcome to show, and the log path is as it was.
void frmEntrada::cmdProcesar_Click()
{
    modMain::ProcesarFichero();
    if (!modMain::UltimoProceso().Terminado()) {
        return;
    }
    frmMsg resultado(servicios_, this);
    if (modMain::HayErrores) {
        resultado.MostrarResultado(Texto(modMain::kProcesoConErrores), Qt::red, true);
    } else if (modMain::UltimoProceso().SinCuentas()) {
        resultado.MostrarResultado(Texto(modMain::kSinCuentas), Qt::red, false);
    } else {
        resultado.MostrarResultado(Texto(modMain::kProcesoTerminado), Qt::blue, false);
    }
    resultado.exec();
}

void frmEntrada::Command2_Click()
{
    QCoreApplication::quit();
}

// A message waits for the user, so it is shown under the normal pointer; the
// run's busy pointer comes back while the run goes on.
void frmEntrada::MostrarMensaje(std::string_view texto)
{
    const bool ocupado = QApplication::overrideCursor() != nullptr;
    PunteroNormal();
    servicios_.Mensaje(this, QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size())));
    if (ocupado) {
        PunteroOcupado();
    }
}

// The pointer is a state, busy or normal, not a stack of overrides.
void frmEntrada::PunteroOcupado()
{
    if (QApplication::overrideCursor() == nullptr) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void frmEntrada::PunteroNormal()
{
    while (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
}

void frmEntrada::RepintarVentana()
{
    repaint();
}
