// The main window: the user picks an order file, sees its log path, runs the
// check and ends the program.
#pragma once

#include "interfaz.h"
#include "servicios.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Where the file dialog opens the first time, for a program in that folder.
QString CarpetaInicial(const QString &carpetaPrograma);

class frmEntrada : public QWidget, public modMain::Interfaz
{
    Q_OBJECT

public:
    // The services are not owned; they must outlive the window.
    explicit frmEntrada(Servicios &servicios, QWidget *parent = nullptr);
    ~frmEntrada() override;

    // The engine's calls back into the window.
    void MostrarMensaje(std::string_view texto) override;
    void PunteroOcupado() override;
    void PunteroNormal() override;
    void RepintarVentana() override;

    QLabel *Label2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLineEdit *tbEntrada = nullptr;
    QLabel *Image1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLineEdit *tbSalida = nullptr;
    QPushButton *cmdProcesar = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Image2 = nullptr;
    DialogoAbrir CajaComun;

public slots:
    void Image1_Click();
    void cmdProcesar_Click();
    void Command2_Click();

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void Form_Load();
    void CrearControles();
    void DescribirControles();
    void ConfirmarNombreLog();
    void ComprobarPrimeraLinea();

    Servicios &servicios_;
};
