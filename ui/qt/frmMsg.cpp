#include "frmMsg.h"

#include "controles.h"
#include "dibujos.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

frmMsg::frmMsg(ventanas::Servicios &servicios, QWidget *principal, const QString &log)
    : QDialog(principal,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , servicios_(servicios)
    , principal_(principal)
    , log_(log)
{
    const ventanas::Ventana &diseno = ventanas::DisenoMsg();
    setWindowIcon(dibujos::IconoResultado());
    setFixedSize(ventanas::APixeles(diseno.ancho, 96), ventanas::APixeles(diseno.alto, 96));
    setModal(true);
    CrearControles(this, diseno);
    Frame1 = findChild<QGroupBox *>(QStringLiteral("Frame1"));
    Label1 = findChild<QLabel *>(QStringLiteral("Label1"));
    Command1 = findChild<QPushButton *>(QStringLiteral("Command1"));
    cmdAceptar = findChild<QPushButton *>(QStringLiteral("cmdAceptar"));
    // No default button: Enter and Space press whichever button has the focus.
    for (QPushButton *boton : { Command1, cmdAceptar }) {
        boton->setDefault(false);
    }
    connect(Command1, &QPushButton::clicked, this, &frmMsg::Command1_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmMsg::cmdAceptar_Click);
    Form_Load();
}

void frmMsg::MostrarResultado(const ventanas::Desenlace &desenlace)
{
    const QString texto = Texto(desenlace.texto);
    Label1->setText(texto);
    Label1->setAccessibleName(texto);
    setAccessibleDescription(texto);
    PonerColor(Label1, desenlace.color);
    Command1->setEnabled(desenlace.detalles);
}

// Centred over the main window's outer frame. A window that is not shown yet
// has no frame of its own, so the dialog's is taken as its client area plus
// the main window's borders and title bar.
void frmMsg::Form_Load()
{
    const QRect exterior = principal_->frameGeometry();
    const QSize propio = size() + exterior.size() - principal_->size();
    const auto [left, top] = ventanas::CentrarSobre(
        { exterior.left(), exterior.top(), exterior.width(), exterior.height() }, propio.width(),
        propio.height(), 96);
    move(x(), top); // Top first, then Left
    move(left, y());
}

void frmMsg::Command1_Click()
{
    ventanas::AbrirDetalles(servicios_, log_.toStdString());
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
