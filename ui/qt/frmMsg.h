// The modal dialog that ends every run: the outcome in blue or red, and the
// log opened in the text editor on "&Detalles".
#pragma once

#include "logica.h"
#include "servicios.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

class frmMsg : public QDialog
{
    Q_OBJECT

public:
    // The main window is the parent: the dialog centres itself over it and
    // brings it to the front when closed. log is the path "&Detalles" opens.
    frmMsg(ventanas::Servicios &servicios, QWidget *principal, const QString &log = {});

    // Text first, then colour, then the state of "&Detalles"; a screen
    // reader announces the text when the dialog opens.
    void MostrarResultado(const ventanas::Desenlace &desenlace);

    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *cmdAceptar = nullptr;

public slots:
    void Command1_Click();
    void cmdAceptar_Click();

protected:
    void done(int resultado) override;
    void keyPressEvent(QKeyEvent *evento) override;

private:
    void Form_Load();
    void Form_Unload();

    ventanas::Servicios &servicios_;
    QWidget *principal_ = nullptr;
    QString log_;
};
