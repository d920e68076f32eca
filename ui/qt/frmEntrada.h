// The main window: the user picks an order file, sees its log path, runs the
// check and ends the program. What it decides lives in the shared logic; this
// is its Qt face.
#pragma once

#include "logica.h"
#include "servicios.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmEntrada : public QWidget, private ventanas::Vista
{
    Q_OBJECT

public:
    // The services are not owned; they must outlive the window.
    explicit frmEntrada(ventanas::Servicios &servicios, QWidget *parent = nullptr);

    // A file given from outside (the command line), taken as if chosen.
    void Abrir(const QString &ruta);

    QLabel *Label2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLineEdit *tbEntrada = nullptr;
    QLabel *Image1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLineEdit *tbSalida = nullptr;
    QPushButton *cmdProcesar = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Image2 = nullptr;

public slots:
    void Image1_Click();
    void cmdProcesar_Click();
    void Command2_Click();

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;
    void dragEnterEvent(QDragEnterEvent *evento) override;
    void dropEvent(QDropEvent *evento) override;

private:
    void Form_Load();
    void CrearControles();

    void MostrarEntrada(std::string_view ruta) override;
    void MostrarSalida(std::string_view ruta) override;
    void HabilitarProcesar(bool habilitado) override;
    void PunteroOcupado(bool ocupado) override;
    void Repintar() override;
    void MostrarResultado(const ventanas::Desenlace &desenlace, std::string_view log) override;

    ventanas::Servicios &servicios_;
    ventanas::LogicaEntrada logica_;
};
