#include "frmMsg.h"

#include "controles.h"
#include "dibujos.h"
#include "fuentes.h"
#include "modMain.h"
#include "paleta.h"
#include "twips.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

frmMsg::frmMsg(Servicios &servicios, QWidget *principal)
    : QDialog(principal,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , servicios_(servicios)
    , principal_(principal)
{
    setObjectName(QStringLiteral("frmMsg"));
    setWindowTitle(QStringLiteral("Cotarel    Munvastor S.A."));
    setWindowIcon(dibujos::IconoResultado());
    setFixedSize(twips::Tamano(5760, 1305));
    setModal(true);
    CrearControles();
    connect(Command1, &QPushButton::clicked, this, &frmMsg::Command1_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmMsg::cmdAceptar_Click);
    Form_Load();
}

void frmMsg::CrearControles()
{
    Frame1 = CrearControl<QGroupBox>(this, "Frame1", twips::Rectangulo(120, 0, 5535, 735), font());
    Frame1->setFocusPolicy(Qt::NoFocus);

    Label1 = CrearControl<QLabel>(
        Frame1, "Label1", twips::Rectangulo(240, 240, 5055, 495), fuentes::Comic(14.25, true));
    Label1->setText(QStringLiteral("Proceso terminado"));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Command1 = CrearControl<QPushButton>(
        this, "Command1", twips::Rectangulo(2520, 840, 1455, 375), fuentes::SansSerif(8.25, true));
    Command1->setText(QStringLiteral("&Detalles"));
    Command1->setEnabled(false);

    cmdAceptar = CrearControl<QPushButton>(this, "cmdAceptar",
        twips::Rectangulo(4200, 840, 1455, 375), fuentes::SansSerif(8.25, true));
    cmdAceptar->setText(QStringLiteral("&Aceptar"));

    paleta::AplicarClara(this);
    DescribirControles();
    // No default button: Enter and Space press whichever button has the focus.
    for (QPushButton *boton : { Command1, cmdAceptar }) {
        boton->setAutoDefault(true);
        boton->setDefault(false);
    }
    MostrarResultado(Label1->text(), Qt::blue, false); // until a run sets the outcome
    setTabOrder(cmdAceptar, Command1);
    cmdAceptar->setFocus();
}

// What a screen reader says of each control; the outcome's own text is
// Label1's name.
void frmMsg::DescribirControles()
{
    setAccessibleName(QStringLiteral("Resultado de la comprobación"));
    setAccessibleDescription(QStringLiteral("Cómo ha terminado la comprobación del fichero"));
    Frame1->setAccessibleName(QStringLiteral("Resultado"));
    Frame1->setAccessibleDescription(QStringLiteral("Cómo ha terminado la comprobación"));
    Label1->setAccessibleDescription(QStringLiteral("Resultado de la comprobación"));
    Command1->setAccessibleName(QStringLiteral("Detalles"));
    Command1->setAccessibleDescription(
        QStringLiteral("Abre el registro de errores en el editor de textos"));
    cmdAceptar->setAccessibleName(QStringLiteral("Aceptar"));
    cmdAceptar->setAccessibleDescription(QStringLiteral("Cierra este mensaje"));
}

void frmMsg::MostrarResultado(const QString &texto, const QColor &color, bool conDetalles)
{
    Label1->setText(texto);
    Label1->setAccessibleName(texto); // a screen reader reads the outcome itself
    QPalette paleta = Label1->palette();
    paleta.setColor(QPalette::WindowText, color);
    Label1->setPalette(paleta);
    Command1->setEnabled(conDetalles);
}

// Centred over the main window's outer frame. A window that is not shown yet
// has no frame of its own, so the dialog's is taken as its client area plus
// the main window's borders and title bar. Arithmetic in twips and single
// precision; the result is applied as it comes, even off the screen.
void frmMsg::Form_Load()
{
    const QRect exterior = principal_->frameGeometry();
    const QSize bordes = exterior.size() - principal_->size();
    const QSize propio = size() + bordes;
    constexpr float kTwips = twips::kPorPixel;
    const float top
        = (exterior.height() * kTwips - propio.height() * kTwips) / 2.0f + exterior.top() * kTwips;
    const float left
        = (exterior.width() * kTwips - propio.width() * kTwips) / 2.0f + exterior.left() * kTwips;
    move(x(), qRound(top / kTwips));
    move(qRound(left / kTwips), y());
}

void frmMsg::Command1_Click()
{
    const QString aviso = QStringLiteral(
        "No se puede mostrar el fichero log, visualicelo con un programa editor de textos");
    const QString log = QString::fromStdString(modMain::FicheroSalida);
    // An editor that gave up at once gets the same message, with the log's
    // path so that the user can open it by hand; the dialog may be gone by then.
    Servicios &servicios = servicios_;
    QPointer<frmMsg> dialogo(this);
    const auto siFallaPronto = [&servicios, dialogo, aviso, log] {
        servicios.Informacion(dialogo.data(), aviso + QLatin1Char('\n') + log);
    };
    if (!servicios_.Ejecutar(QStringLiteral("notepad ") + log, siFallaPronto)) {
        servicios_.Informacion(this, aviso);
    }
}

void frmMsg::cmdAceptar_Click()
{
    accept();
}

// Every way of closing the dialog ends here; the closing is never refused.
void frmMsg::done(int resultado)
{
    QDialog::done(resultado);
    Form_Unload();
}

void frmMsg::Form_Unload()
{
    principal_->raise();
    principal_->activateWindow();
}

// There is no cancel button: Escape does not close the dialog.
void frmMsg::keyPressEvent(QKeyEvent *evento)
{
    if (evento->key() == Qt::Key_Escape) {
        evento->ignore();
        return;
    }
    QDialog::keyPressEvent(evento);
}
