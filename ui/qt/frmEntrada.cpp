#include "frmEntrada.h"

#include "controles.h"
#include "dibujos.h"
#include "frmMsg.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace {

// The folder picture, to a screen reader: a button whose action opens the
// file dialog, as a click on it does. It still takes no focus, so the tab
// order stays as it is.
class CarpetaAccesible final : public QAccessibleWidget
{
public:
    explicit CarpetaAccesible(QWidget *imagen)
        : QAccessibleWidget(imagen, QAccessible::Button)
    {
    }
    QStringList actionNames() const override { return { pressAction() }; }
    // As a button's own action does, the press comes after the answer: the
    // file dialog is modal, and the screen reader is not kept waiting.
    void doAction(const QString &accion) override
    {
        if (accion != pressAction()) {
            return;
        }
        QTimer::singleShot(0, widget(), [imagen = widget()] {
            const QPointF centro = QRectF(imagen->rect()).center();
            QMouseEvent soltar(QEvent::MouseButtonRelease, centro, imagen->mapToGlobal(centro),
                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(imagen, &soltar);
        });
    }
};

QAccessibleInterface *Accesible(const QString &, QObject *objeto)
{
    auto *imagen = qobject_cast<QLabel *>(objeto);
    if (imagen != nullptr && imagen->objectName() == QLatin1String("Image1")
        && qobject_cast<frmEntrada *>(imagen->window()) != nullptr) {
        return new CarpetaAccesible(imagen);
    }
    return nullptr;
}

} // namespace

frmEntrada::frmEntrada(ventanas::Servicios &servicios, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , servicios_(servicios)
    , logica_(servicios, *this)
{
    static const bool accesible = (QAccessible::installFactory(Accesible), true);
    static_cast<void>(accesible);
    const ventanas::Ventana &diseno = ventanas::DisenoEntrada();
    setWindowIcon(dibujos::IconoEntrada());
    setFixedSize(ventanas::APixeles(diseno.ancho, 96), ventanas::APixeles(diseno.alto, 96));
    setAcceptDrops(true);
    CrearControles();
    // The keyboard's way to the folder picture, which takes no focus.
    auto *buscar = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(buscar, &QShortcut::activated, this, &frmEntrada::Image1_Click);
    connect(cmdProcesar, &QPushButton::clicked, this, &frmEntrada::cmdProcesar_Click);
    connect(Command2, &QPushButton::clicked, this, &frmEntrada::Command2_Click);
    Image1->installEventFilter(this);
    Form_Load();
}

void frmEntrada::CrearControles()
{
    ::CrearControles(this, ventanas::DisenoEntrada());
    Label2 = findChild<QLabel *>(QStringLiteral("Label2"));
    Frame1 = findChild<QGroupBox *>(QStringLiteral("Frame1"));
    tbEntrada = findChild<QLineEdit *>(QStringLiteral("tbEntrada"));
    Image1 = findChild<QLabel *>(QStringLiteral("Image1"));
    // A screen reader that is already listening may have asked for the
    // picture while it was made, before it had its name: that answer is
    // dropped, so the next one is the button's.
    if (QAccessible::isActive()) {
        QAccessibleInterface *hecha = QAccessible::queryAccessibleInterface(Image1);
        if (hecha != nullptr && hecha->role() != QAccessible::Button) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(hecha));
        }
    }
    Frame2 = findChild<QGroupBox *>(QStringLiteral("Frame2"));
    tbSalida = findChild<QLineEdit *>(QStringLiteral("tbSalida"));
    cmdProcesar = findChild<QPushButton *>(QStringLiteral("cmdProcesar"));
    Command2 = findChild<QPushButton *>(QStringLiteral("Command2"));
    Image2 = findChild<QLabel *>(QStringLiteral("Image2"));

    Image1->setPixmap(dibujos::Carpeta(Image1->size(), devicePixelRatioF()));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(QStringLiteral("Buscar fichero (Ctrl+O)"));
    Image2->setPixmap(dibujos::Logo(devicePixelRatioF()));
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image2->lower();
    QPalette gris = tbSalida->palette(); // the log path on the button face
    gris.setColor(QPalette::Base, gris.color(QPalette::Button));
    gris.setColor(QPalette::Text, Qt::black);
    tbSalida->setPalette(gris);
}

void frmEntrada::Form_Load()
{
    move(x(), 0); // Top first, then Left
    move(0, y());
}

void frmEntrada::Abrir(const QString &ruta)
{
    logica_.Abrir(ruta.toStdString());
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

// A file dropped on the window is taken as if chosen; the first of several.
void frmEntrada::dragEnterEvent(QDragEnterEvent *evento)
{
    const auto urls = evento->mimeData()->urls();
    if (!urls.isEmpty() && urls.constFirst().isLocalFile()) {
        evento->acceptProposedAction();
    }
}

void frmEntrada::dropEvent(QDropEvent *evento)
{
    const auto urls = evento->mimeData()->urls();
    if (!urls.isEmpty() && urls.constFirst().isLocalFile()) {
        evento->acceptProposedAction();
        Abrir(urls.constFirst().toLocalFile());
    }
}

void frmEntrada::Image1_Click()
{
    logica_.Elegir();
}

void frmEntrada::cmdProcesar_Click()
{
    logica_.Procesar();
}

void frmEntrada::Command2_Click()
{
    QCoreApplication::quit();
}

void frmEntrada::MostrarEntrada(std::string_view ruta)
{
    tbEntrada->setText(Texto(ruta));
}

void frmEntrada::MostrarSalida(std::string_view ruta)
{
    tbSalida->setText(Texto(ruta));
}

void frmEntrada::HabilitarProcesar(bool habilitado)
{
    cmdProcesar->setEnabled(habilitado);
}

void frmEntrada::PunteroOcupado(bool ocupado)
{
    if (ocupado) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void frmEntrada::Repintar()
{
    repaint();
}

void frmEntrada::MostrarResultado(const ventanas::Desenlace &desenlace, std::string_view log)
{
    frmMsg resultado(servicios_, this, Texto(log));
    resultado.MostrarResultado(desenlace);
    resultado.exec();
}
