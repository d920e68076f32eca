#include "frmEntrada.h"

#include "controles.h"
#include "dibujos.h"
#include "frmMsg.h"
#include "fuentes.h"
#include "modMain.h"
#include "paleta.h"
#include "twips.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>

frmEntrada::frmEntrada(Servicios &servicios, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , servicios_(servicios)
{
    setObjectName(QStringLiteral("frmEntrada"));
    setWindowTitle(QStringLiteral("Cotarel Ver 1.0"));
    setWindowIcon(dibujos::IconoEntrada());
    setFixedSize(twips::Tamano(5520, 3660));
    CrearControles();
    DescribirControles();
    // The keyboard's way to the folder picture, which takes no focus.
    auto *buscar = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(buscar, &QShortcut::activated, this, &frmEntrada::Image1_Click);
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
    Image1->setPixmap(dibujos::Carpeta(Image1->size(), devicePixelRatioF()));
    Image1->setCursor(Qt::PointingHandCursor);

    Frame2 = CrearControl<QGroupBox>(
        this, "Frame2", twips::Rectangulo(120, 2160, 5295, 975), fuentes::SansSerif(9.75));
    Frame2->setTitle(QStringLiteral("Fichero Destino"));
    tbSalida = CrearControl<QLineEdit>(
        Frame2, "tbSalida", twips::Rectangulo(240, 360, 4575, 405), fuentes::SansSerif(8.25));
    tbSalida->setReadOnly(true);

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
    Image2->setPixmap(dibujos::Logo(devicePixelRatioF()));
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image2->lower();

    // Tab order by tab index: tbEntrada, cmdProcesar, Command2, tbSalida.
    for (QWidget *sinFoco :
        std::initializer_list<QWidget *> { Label2, Frame1, Frame2, Image1, Image2 }) {
        sinFoco->setFocusPolicy(Qt::NoFocus);
    }
    paleta::AplicarClara(this);
    QPalette gris = tbSalida->palette(); // the log path on the button face
    gris.setColor(QPalette::Base, gris.color(QPalette::Button));
    gris.setColor(QPalette::Text, Qt::black);
    tbSalida->setPalette(gris);

    setTabOrder(tbEntrada, cmdProcesar);
    setTabOrder(cmdProcesar, Command2);
    setTabOrder(Command2, tbSalida);
    tbEntrada->setFocus();
}

// What a screen reader says of each control.
void frmEntrada::DescribirControles()
{
    const struct
    {
        QWidget *control;
        const char *nombre;
        const char *descripcion;
    } kDescripciones[] = {
        { this, "Cotarel", "Comprueba las cuentas de un fichero de órdenes bancarias" },
        { Label2, "Instrucciones", "Cómo se usa Cotarel" },
        { Frame1, "Fichero Origen", "El fichero de órdenes que se va a comprobar" },
        { tbEntrada, "Fichero de entrada", "Ruta del fichero de órdenes elegido" },
        { Image1, "Buscar fichero", "Abre el diálogo para elegir el fichero de órdenes (Ctrl+O)" },
        { Frame2, "Fichero Destino", "El registro de errores de la comprobación" },
        { tbSalida, "Fichero de registro",
            "Ruta del fichero .log donde se anotan las cuentas erróneas" },
        { cmdProcesar, "Procesar", "Comprueba las cuentas del fichero elegido" },
        { Command2, "Cerrar", "Cierra Cotarel" },
        { Image2, "Cotarel, Munvastor S.A., Control de DC", "Logotipo del programa" },
    };
    for (const auto &[control, nombre, descripcion] : kDescripciones) {
        control->setAccessibleName(QString::fromUtf8(nombre));
        control->setAccessibleDescription(QString::fromUtf8(descripcion));
    }
    Image1->setToolTip(QStringLiteral("Buscar fichero (Ctrl+O)"));
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
    CajaComun.InitDir = CarpetaInicial(QCoreApplication::applicationDirPath());
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

// A program unpacked in a folder of the user's starts there; an installed one
// (in /usr/bin, or Program Files) in the user's documents, else at home.
QString CarpetaInicial(const QString &carpetaPrograma)
{
    const QFileInfo programa(carpetaPrograma);
    if (programa.isDir() && programa.isWritable()) {
        return carpetaPrograma;
    }
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documentos.isEmpty() && QFileInfo(documentos).isDir()) {
        return documentos;
    }
    return QDir::homePath();
}

namespace {

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
    if (modMain::HayLogQueReemplazar(modMain::FicheroSalida)
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
