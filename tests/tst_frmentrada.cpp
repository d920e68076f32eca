#include "dibujos.h"
#include "disposicion_qt.h"
#include "frmEntrada.h"
#include "frmMsg.h"
#include "modal.h"
#include "servicios_guionados.h"
#include "version.h"

#include <QAccessible>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>

#include <memory>

namespace {

const QByteArray kCuentaMala = "12345678000123456789";
const QByteArray kCuentaBuena = "12345678010123456789";

QByteArray Adeudo(const QByteArray &cuenta)
{
    QByteArray linea(162, ' ');
    linea.replace(0, 4, "5680");
    linea.replace(68, 20, cuenta);
    return linea;
}

QByteArray FicheroAdeudos(const QByteArray &cuenta)
{
    return "5180\r\n" + Adeudo(cuenta) + "\r\n";
}

void Escribir(const QString &ruta, const QByteArray &bytes)
{
    QFile fichero(ruta);
    QVERIFY(fichero.open(QIODevice::WriteOnly));
    fichero.write(bytes);
}

} // namespace

class tst_frmEntrada : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void geometria();
    void textos();
    void estadoInicial();
    void ejecutar_data();
    void ejecutar();
    void soltarFichero();
    void punteroDelRaton();
    void legibleConTemaOscuro();
    void teclado();
    void dibujosALaEscala_data();
    void dibujosALaEscala();

private:
    QString Ruta(const QString &nombre) const { return carpeta_->filePath(nombre); }
    std::unique_ptr<QTemporaryDir> carpeta_; // a new one for each test
};

void tst_frmEntrada::init()
{
    carpeta_ = std::make_unique<QTemporaryDir>();
    QVERIFY(carpeta_->isValid());
}

void tst_frmEntrada::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()
        || std::none_of(QApplication::topLevelWidgets().cbegin(),
            QApplication::topLevelWidgets().cend(), [](QWidget *w) { return w->isVisible(); }));
}

// The layout's figures are the shared table's; here, that the face builds
// it whole: the window at the table's size, nothing cut or covered.
void tst_frmEntrada::geometria()
{
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    QCOMPARE(ventana.size(), QSize(368, 244));
    ComprobarDisposicion(ventana);
}

void tst_frmEntrada::textos()
{
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    QCOMPARE(ventana.windowTitle(), QString("Cotarel Ver " COTAREL_VERSION_TITULO));
    QCOMPARE(ventana.Label2->accessibleName(), ventana.Label2->text()); // read out whole
    // When the window opens a screen reader reads its description: the
    // instructions, and how to choose a file from the keyboard.
    QAccessibleInterface *accesible = QAccessible::queryAccessibleInterface(&ventana);
    QCOMPARE(accesible->text(QAccessible::Description),
        ventana.Label2->text() + " Pulse Ctrl+O para elegir el fichero.");
    // The folder picture is a button whose action opens the file dialog.
    QAccessibleInterface *carpeta = QAccessible::queryAccessibleInterface(ventana.Image1);
    QCOMPARE(carpeta->role(), QAccessible::Button);
    QCOMPARE(carpeta->text(QAccessible::Name), QString("Buscar fichero"));
    QVERIFY(carpeta->actionInterface() != nullptr);
    QCOMPARE(carpeta->actionInterface()->actionNames(),
        QStringList { QAccessibleActionInterface::pressAction() });
    carpeta->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(servicios.abiertoEn.size(), std::size_t { 1 });
    QCOMPARE(ventana.tbSalida->palette().color(QPalette::Base),
        ventana.palette().color(QPalette::Button));
    QCOMPARE(ventana.tbSalida->palette().color(QPalette::Text), QColor(Qt::black));
    QVERIFY2(QStringList({ "MS Sans Serif", "Liberation Sans" })
                 .contains(QFontInfo(ventana.Label2->font()).family()),
        qPrintable(QFontInfo(ventana.Label2->font()).family()));
    // Every text fits its control.
    QVERIFY(ventana.Label2->heightForWidth(ventana.Label2->width()) <= ventana.Label2->height());
    for (QPushButton *boton : { ventana.cmdProcesar, ventana.Command2 }) {
        QVERIFY(QFontMetrics(boton->font()).horizontalAdvance(boton->text()) < boton->width() - 8);
    }
    QVERIFY(!ventana.Image1->pixmap().isNull());
    QCOMPARE(ventana.Image2->pixmap().size(), QSize(190, 30));
    QVERIFY(
        !(ventana.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(ventana.windowFlags() & Qt::WindowCloseButtonHint);
}

void tst_frmEntrada::estadoInicial()
{
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    ventana.show();
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    QCOMPARE(ventana.pos(), QPoint(0, 0));
    QCOMPARE(QApplication::focusWidget(), ventana.tbEntrada);
    QVERIFY(ventana.tbEntrada->text().isEmpty());
    QVERIFY(ventana.tbSalida->text().isEmpty());
    QVERIFY(!ventana.cmdProcesar->isEnabled());
    QVERIFY(ventana.tbEntrada->isReadOnly() && ventana.tbSalida->isReadOnly());
    // Tab order skips the disabled "&Procesar".
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ventana.Command2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ventana.tbSalida);
}

void tst_frmEntrada::ejecutar_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<bool>("detalles");
    QTest::addColumn<bool>("logQueda");
    QTest::newRow("clean run") << FicheroAdeudos(kCuentaBuena) << "Proceso terminado"
                               << QColor(0, 0, 255) << false << false;
    QTest::newRow("no account to check")
        << QByteArray("5180\r\n5290\r\n") << "No se ha comprobado ninguna cuenta"
        << QColor(255, 0, 0) << false << false;
    QTest::newRow("run with errors")
        << FicheroAdeudos(kCuentaMala) << "Proceso terminado con errores" << QColor(255, 0, 0)
        << true << true;
}

void tst_frmEntrada::ejecutar()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, texto);
    QFETCH(QColor, color);
    QFETCH(bool, detalles);
    QFETCH(bool, logQueda);

    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    ventana.show();
    Escribir(Ruta("mayo.txt"), contenido);
    servicios.elecciones.push_back(Ruta("mayo.txt").toStdString());
    QTest::mouseClick(ventana.Image1, Qt::LeftButton);
    QCOMPARE(ventana.tbEntrada->text(), Ruta("mayo.txt"));
    QCOMPARE(ventana.tbSalida->text(), Ruta("mayo.log"));

    QString visto;
    QString anunciado;
    QColor colorVisto;
    bool detallesVisto = !detalles;
    AlAparecerModal([&](QWidget *modal) {
        auto *resultado = qobject_cast<frmMsg *>(modal);
        QVERIFY(resultado);
        visto = resultado->Label1->text();
        anunciado = resultado->accessibleDescription();
        colorVisto = resultado->Label1->palette().color(QPalette::WindowText);
        detallesVisto = resultado->Command1->isEnabled();
        QTest::mouseClick(resultado->cmdAceptar, Qt::LeftButton);
    });
    QTest::mouseClick(ventana.cmdProcesar, Qt::LeftButton);

    QCOMPARE(visto, texto);
    QCOMPARE(anunciado, texto); // a screen reader announces every outcome
    QCOMPARE(colorVisto, color);
    QCOMPARE(detallesVisto, detalles);
    QCOMPARE(QFile::exists(Ruta("mayo.log")), logQueda);
    QVERIFY(ventana.cmdProcesar->isEnabled());
    QVERIFY(servicios.mensajes.empty());
}

// A file dropped on the window is taken as if chosen in the dialog.
void tst_frmEntrada::soltarFichero()
{
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    Escribir(Ruta("mayo.txt"), FicheroAdeudos(kCuentaMala));
    QMimeData datos;
    datos.setUrls({ QUrl::fromLocalFile(Ruta("mayo.txt")) });
    QDragEnterEvent entrar(QPoint(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&ventana, &entrar);
    QVERIFY(entrar.isAccepted());
    QDropEvent soltar(QPointF(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&ventana, &soltar);
    QCOMPARE(ventana.tbEntrada->text(), Ruta("mayo.txt"));
    QCOMPARE(ventana.tbSalida->text(), Ruta("mayo.log"));
    QVERIFY(ventana.cmdProcesar->isEnabled());
}

// A message of a run is shown under the normal pointer, and no busy pointer
// is left after the run.
void tst_frmEntrada::punteroDelRaton()
{
    struct Espia : ServiciosGuionados
    {
        bool ocupado = true;
        void Mensaje(std::string_view texto) override
        {
            ocupado = QApplication::overrideCursor() != nullptr;
            mensajes.emplace_back(texto);
        }
    } espia;
    frmEntrada ventana(espia);
    Escribir(Ruta("mayo.txt"), FicheroAdeudos(kCuentaMala));
    espia.elecciones.push_back(Ruta("mayo.txt").toStdString());
    ventana.Image1_Click();
    QVERIFY(QFile::remove(Ruta("mayo.txt")));
    ventana.cmdProcesar_Click();
    QCOMPARE(
        espia.mensajes, std::vector<std::string> { "No se puede abrir el fichero de Entrada" });
    QVERIFY(!espia.ocupado);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

// WCAG's contrast ratio between two colours.
double Contraste(QColor a, QColor b)
{
    const auto luminancia = [](QColor c) {
        const auto canal = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * canal(c.redF()) + 0.7152 * canal(c.greenF()) + 0.0722 * canal(c.blueF());
    };
    const double la = luminancia(a);
    const double lb = luminancia(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of what is drawn in the widget: its background (the colour
// of the pixel at the right end, past the text) against its most distant pixel.
double ContrasteDibujado(QWidget *widget)
{
    const QImage imagen = widget->grab().toImage();
    const QColor fondo = imagen.pixelColor(imagen.width() - 4, imagen.height() / 2);
    double mayor = 1;
    for (int y = 0; y < imagen.height(); ++y) {
        for (int x = 0; x < imagen.width() - 6; ++x) {
            mayor = std::max(mayor, Contraste(fondo, imagen.pixelColor(x, y)));
        }
    }
    return mayor;
}

// With COTAREL_CAPTURAS=DIR, the windows as drawn, one under the other on
// the desktop's colour, go to DIR/oscuro.png for the README.
void GuardarCaptura(std::initializer_list<QWidget *> ventanas, const QColor &escritorio)
{
    const QString carpeta = qEnvironmentVariable("COTAREL_CAPTURAS");
    if (carpeta.isEmpty()) {
        return;
    }
    constexpr int kMargen = 12;
    QImage imagen(400, 400, QImage::Format_RGB32);
    imagen.fill(escritorio);
    QPainter pintor(&imagen);
    int y = kMargen;
    for (QWidget *ventana : ventanas) {
        pintor.drawPixmap(kMargen, y, ventana->grab());
        y += ventana->height() + kMargen;
    }
    pintor.end();
    imagen.copy(0, 0, 400, y).save(carpeta + "/oscuro.png");
}

// Under a dark desktop palette the windows keep their own light one: the
// paths stay at 4.5 to 1 at least, the large bold outcome at 3 to 1.
void tst_frmEntrada::legibleConTemaOscuro()
{
    const QPalette antes = QApplication::palette();
    QPalette oscura(QColor(0x31, 0x36, 0x3b), QColor(0x2a, 0x2e, 0x32));
    oscura.setColor(QPalette::WindowText, QColor(0xfc, 0xfc, 0xfc));
    oscura.setColor(QPalette::Text, QColor(0xfc, 0xfc, 0xfc));
    oscura.setColor(QPalette::Base, QColor(0x1b, 0x1e, 0x20));
    QApplication::setPalette(oscura);
    {
        ServiciosGuionados servicios;
        frmEntrada ventana(servicios);
        ventana.tbEntrada->setText("/home/ana/remesas/mayo.q19");
        ventana.tbSalida->setText("/home/ana/remesas/mayo.log");
        ventana.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ventana));
        QVERIFY(ContrasteDibujado(ventana.tbEntrada) >= 4.5);
        QVERIFY(ContrasteDibujado(ventana.tbSalida) >= 4.5);
        frmMsg resultado(servicios, &ventana);
        resultado.MostrarResultado({ "Proceso terminado con errores", ventanas::kRojo, true });
        resultado.show();
        QVERIFY(QTest::qWaitForWindowExposed(&resultado));
        QVERIFY(ContrasteDibujado(resultado.Label1) >= 3);
        GuardarCaptura({ &ventana, &resultado }, oscura.color(QPalette::Window));
    }
    QApplication::setPalette(antes);
}

// Ctrl+O opens the file dialog; every control tells a screen reader what it is.
// Everything from the keyboard: Ctrl+O chooses, Tab goes through what takes
// the focus in the table's order, Alt+P runs, Alt+E ends.
void tst_frmEntrada::teclado()
{
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    ventana.show();
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    Escribir(Ruta("mayo.txt"), FicheroAdeudos(kCuentaBuena));
    servicios.elecciones.push_back(Ruta("mayo.txt").toStdString());
    QTest::keyClick(&ventana, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(ventana.tbEntrada->text(), Ruta("mayo.txt"));
    QCOMPARE(ventana.Image1->toolTip(), QString("Buscar fichero (Ctrl+O)"));
    ventana.tbEntrada->setFocus();
    for (QWidget *siguiente : std::initializer_list<QWidget *> {
             ventana.cmdProcesar, ventana.Command2, ventana.tbSalida, ventana.tbEntrada }) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), siguiente);
    }
    QString visto;
    AlAparecerModal([&](QWidget *modal) {
        auto *resultado = qobject_cast<frmMsg *>(modal);
        visto = resultado->Label1->text();
        QTest::mouseClick(resultado->cmdAceptar, Qt::LeftButton);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    QTRY_COMPARE(visto, QString("Proceso terminado")); // a mnemonic clicks a moment later
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    QSignalSpy cerrar(ventana.Command2, &QPushButton::clicked); // which ends the program
    QTest::keyClick(&ventana, Qt::Key_E, Qt::AltModifier);
    QTRY_COMPARE(cerrar.count(), 1);
}

// The pictures are drawn for the screen's scale, not stretched from 1x.
void tst_frmEntrada::dibujosALaEscala_data()
{
    QTest::addColumn<qreal>("escala");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("150 %") << 1.5;
    QTest::newRow("300 %") << 3.0;
}

void tst_frmEntrada::dibujosALaEscala()
{
    QFETCH(qreal, escala);
    const QPixmap logo = dibujos::Logo(escala);
    QCOMPARE(logo.size(), QSize(qRound(190 * escala), qRound(30 * escala)));
    QCOMPARE(logo.devicePixelRatio(), escala);
    QCOMPARE(logo.deviceIndependentSize(), QSizeF(190, 30));
    const QPixmap carpeta = dibujos::Carpeta(QSize(32, 24), escala);
    QCOMPARE(carpeta.size(), QSize(qRound(32 * escala), qRound(24 * escala)));
    QCOMPARE(carpeta.devicePixelRatio(), escala);
}

QTEST_MAIN(tst_frmEntrada)
#include "tst_frmentrada.moc"
