#include "dibujos.h"
#include "frmEntrada.h"
#include "frmMsg.h"
#include "modMain.h"
#include "servicios_guionados.h"
#include "twips.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
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

QByteArray Leer(const QString &ruta)
{
    QFile fichero(ruta);
    return fichero.open(QIODevice::ReadOnly) ? fichero.readAll() : QByteArray();
}

} // namespace

class tst_frmEntrada : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void geometria_data();
    void geometria();
    void textos();
    void estadoInicial();
    void elegirFichero_data();
    void elegirFichero();
    void cancelarTrasElegir();
    void ejecutar_data();
    void ejecutar();
    void segundaEjecucionSinPregunta();
    void ejecucionFallida_data();
    void ejecucionFallida();
    void punteroDelRaton();
    void legibleConTemaOscuro();
    void teclado();
    void carpetaInicial();
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
    modMain::FicheroEntrada.clear();
    modMain::FicheroSalida.clear();
    modMain::HayErrores = false;
}

void tst_frmEntrada::cleanup()
{
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()
        || std::none_of(QApplication::topLevelWidgets().cbegin(),
            QApplication::topLevelWidgets().cend(), [](QWidget *w) { return w->isVisible(); }));
}

void tst_frmEntrada::geometria_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("enTwips");
    QTest::newRow("Label2") << "Label2" << QRect(120, 120, 5175, 855);
    QTest::newRow("Frame1") << "Frame1" << QRect(120, 1080, 5295, 975);
    QTest::newRow("tbEntrada") << "tbEntrada" << QRect(240, 360, 3735, 405);
    QTest::newRow("Image1") << "Image1" << QRect(4320, 360, 480, 360);
    QTest::newRow("Frame2") << "Frame2" << QRect(120, 2160, 5295, 975);
    QTest::newRow("tbSalida") << "tbSalida" << QRect(240, 360, 4575, 405);
    QTest::newRow("cmdProcesar") << "cmdProcesar" << QRect(3000, 3240, 1215, 375);
    QTest::newRow("Command2") << "Command2" << QRect(4320, 3240, 1095, 375);
    QTest::newRow("Image2") << "Image2" << QRect(0, 3240, 2850, 450);
}

void tst_frmEntrada::geometria()
{
    QFETCH(QString, control);
    QFETCH(QRect, enTwips);
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    auto *widget = ventana.findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(),
        twips::Rectangulo(enTwips.x(), enTwips.y(), enTwips.width(), enTwips.height()));
    QCOMPARE(ventana.size(), QSize(368, 244));
    QCOMPARE(ventana.minimumSize(), ventana.maximumSize());
}

void tst_frmEntrada::textos()
{
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    QCOMPARE(ventana.windowTitle(), QString("Cotarel Ver 1.0"));
    QCOMPARE(ventana.Label2->text().size(), 214);
    QVERIFY(ventana.Label2->text().startsWith(
        "Seleccione un fichero CSB y pulse procesar. Si algún DC"));
    QVERIFY(ventana.Label2->text().endsWith("con extensión .log"));
    QCOMPARE(ventana.Frame1->title(), QString("Fichero Origen"));
    QCOMPARE(ventana.Frame2->title(), QString("Fichero Destino"));
    QCOMPARE(ventana.cmdProcesar->text(), QString("&Procesar"));
    QCOMPARE(ventana.Command2->text(), QString("C&errar"));
    QCOMPARE(ventana.Label2->font().pointSizeF(), 8.25);
    QCOMPARE(ventana.Frame1->font().pointSizeF(), 9.75);
    QCOMPARE(ventana.cmdProcesar->font().pointSizeF(), 9.75);
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

// One choice in the file dialog, from a fresh window.
void tst_frmEntrada::elegirFichero_data()
{
    QTest::addColumn<QString>("nombre"); // empty: the dialog is cancelled
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<bool>("logExiste");
    QTest::addColumn<bool>("respuesta");
    QTest::addColumn<QString>("salida"); // expected tbSalida, relative to the folder
    QTest::addColumn<bool>("procesar");
    QTest::addColumn<QStringList>("mensajes");
    QTest::addColumn<int>("preguntas");

    const QByteArray adeudos = FicheroAdeudos(kCuentaMala);
    QTest::newRow("cancel before any choice")
        << "" << adeudos << false << true << "" << false << QStringList {} << 0;
    QTest::newRow("debit file, no log")
        << "mayo.txt" << adeudos << false << true << "mayo.log" << true << QStringList {} << 0;
    QTest::newRow("transfer file") << "mayo.txt" << QByteArray("0356\r\n") << false << true
                                   << "mayo.log" << true << QStringList {} << 0;
    QTest::newRow("log exists, Yes")
        << "mayo.txt" << adeudos << true << true << "mayo.log" << true << QStringList {} << 1;
    QTest::newRow("log exists, No") << "mayo.txt" << QByteArray("0180\r\n") << true << false << ""
                                    << false << QStringList {} << 1;
    QTest::newRow("not CSB") << "mayo.txt" << QByteArray("0280\r\n") << false << true << "mayo.log"
                             << false << QStringList { "El fichero no es CSB" } << 0;
    QTest::newRow("log exists, No, not CSB")
        << "mayo.txt" << QByteArray("0280\r\n") << true << false << "" << false
        << QStringList { "El fichero no es CSB" } << 1;
    QTest::newRow("empty file") << "mayo.txt" << QByteArray() << false << true << "mayo.log"
                                << false << QStringList { "El fichero no es CSB" } << 0;
    QTest::newRow("mayo.log gives mayo.log1")
        << "mayo.log" << adeudos << false << true << "mayo.log1" << true << QStringList {} << 0;
    QTest::newRow("cannot be opened")
        << "carpeta.txt" << QByteArray() << false << true << "carpeta.log" << false
        << QStringList { "No se puede abrir el fichero de Entrada" } << 0;
}

void tst_frmEntrada::elegirFichero()
{
    QFETCH(QString, nombre);
    QFETCH(QByteArray, contenido);
    QFETCH(bool, logExiste);
    QFETCH(bool, respuesta);
    QFETCH(QString, salida);
    QFETCH(bool, procesar);
    QFETCH(QStringList, mensajes);
    QFETCH(int, preguntas);

    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    if (nombre == "carpeta.txt") {
        QVERIFY(QDir(carpeta_->path()).mkdir(nombre)); // exists, but cannot be read
    } else if (!nombre.isEmpty()) {
        Escribir(Ruta(nombre), contenido);
    }
    if (logExiste) {
        Escribir(Ruta(QFileInfo(salida.isEmpty() ? "mayo.log" : salida).fileName()), "old log");
    }
    servicios.elecciones.enqueue(nombre.isEmpty() ? std::nullopt : std::optional(Ruta(nombre)));
    servicios.respuestas.enqueue(respuesta);

    ventana.Image1_Click();

    QCOMPARE(servicios.tituloAbrir, QString("Abrir fichero a filtrar"));
    QCOMPARE(servicios.abiertoEn, QStringList { QCoreApplication::applicationDirPath() });
    QCOMPARE(ventana.tbEntrada->text(), nombre.isEmpty() ? QString() : Ruta(nombre));
    QCOMPARE(QString::fromStdString(modMain::FicheroEntrada), ventana.tbEntrada->text());
    QCOMPARE(ventana.tbSalida->text(), salida.isEmpty() ? QString() : Ruta(salida));
    QCOMPARE(QString::fromStdString(modMain::FicheroSalida), ventana.tbSalida->text());
    QCOMPARE(ventana.cmdProcesar->isEnabled(), procesar);
    QCOMPARE(servicios.mensajes, mensajes);
    QCOMPARE(servicios.preguntas.size(), preguntas);
    if (preguntas > 0) {
        QCOMPARE(servicios.preguntas.constFirst(),
            QString("El fichero de salida ya existe ¿Desea sobreescribirlo?"));
    }
}

// A cancel after a choice goes through the same file again: the log written by
// a run in between now exists, so the question comes.
void tst_frmEntrada::cancelarTrasElegir()
{
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    Escribir(Ruta("mayo.txt"), FicheroAdeudos(kCuentaMala));
    servicios.elecciones.enqueue(Ruta("mayo.txt"));
    ventana.Image1_Click();
    QVERIFY(servicios.preguntas.isEmpty());
    Escribir(Ruta("mayo.log"), "log of a run");

    servicios.elecciones.enqueue(std::nullopt);
    servicios.respuestas.enqueue(false);
    ventana.Image1_Click();
    QCOMPARE(servicios.abiertoEn.last(), Ruta("mayo.txt")); // offered the last chosen path
    QCOMPARE(ventana.tbEntrada->text(), Ruta("mayo.txt"));
    QCOMPARE(servicios.preguntas.size(), 1);
    QVERIFY(ventana.tbSalida->text().isEmpty());
    QVERIFY(!ventana.cmdProcesar->isEnabled());
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
    servicios.elecciones.enqueue(Ruta("mayo.txt"));
    ventana.Image1_Click();

    QString visto;
    QColor colorVisto;
    bool detallesVisto = !detalles;
    AlAparecerModal([&](QWidget *modal) {
        auto *resultado = qobject_cast<frmMsg *>(modal);
        QVERIFY(resultado);
        visto = resultado->Label1->text();
        colorVisto = resultado->Label1->palette().color(QPalette::WindowText);
        detallesVisto = resultado->Command1->isEnabled();
        QTest::mouseClick(resultado->cmdAceptar, Qt::LeftButton);
    });
    QTest::mouseClick(ventana.cmdProcesar, Qt::LeftButton);

    QCOMPARE(visto, texto);
    QCOMPARE(colorVisto, color);
    QCOMPARE(detallesVisto, detalles);
    QCOMPARE(QFile::exists(Ruta("mayo.log")), logQueda);
    QVERIFY(ventana.cmdProcesar->isEnabled());
    QVERIFY(servicios.mensajes.isEmpty());
}

void tst_frmEntrada::segundaEjecucionSinPregunta()
{
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    ventana.show();
    Escribir(Ruta("mayo.txt"), FicheroAdeudos(kCuentaMala));
    servicios.elecciones.enqueue(Ruta("mayo.txt"));
    ventana.Image1_Click();
    for (int vez = 0; vez < 2; ++vez) {
        AlAparecerModal([](QWidget *modal) { modal->close(); });
        ventana.cmdProcesar_Click();
    }
    QVERIFY(servicios.preguntas.isEmpty());
    QVERIFY(QFile::exists(Ruta("mayo.log")));
    QVERIFY(modMain::HayErrores);
}

// A run that stops with its own message shows no result dialog and leaves
// whatever stands at the log path as it was.
void tst_frmEntrada::ejecucionFallida_data()
{
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("input vanished after a run with errors")
        << "vanished"
        << "No se puede abrir el fichero de Entrada";
    QTest::newRow("folder at the log path") << "folder"
                                            << "No se puede crear el fichero de Salida";
    QTest::newRow("no longer CSB when run") << "not CSB"
                                            << "El fichero no es CSB";
}

void tst_frmEntrada::ejecucionFallida()
{
    QFETCH(QString, caso);
    QFETCH(QString, mensaje);
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    ventana.show();
    Escribir(Ruta("mayo.txt"), FicheroAdeudos(kCuentaMala));
    if (caso == "folder") {
        QVERIFY(QDir(carpeta_->path()).mkdir("mayo.log"));
    } else {
        Escribir(Ruta("mayo.log"), "old log");
    }
    servicios.elecciones.enqueue(Ruta("mayo.txt"));
    ventana.Image1_Click();
    QCOMPARE(servicios.preguntas.size(), caso == "folder" ? 0 : 1);
    if (caso == "vanished") {
        AlAparecerModal([](QWidget *modal) { modal->close(); });
        ventana.cmdProcesar_Click();
        QVERIFY(modMain::HayErrores);
        QVERIFY(QFile::remove(Ruta("mayo.txt")));
    } else if (caso == "not CSB") {
        Escribir(Ruta("mayo.txt"), "0280\r\n");
    }
    const QByteArray logAntes = caso == "folder" ? QByteArray() : Leer(Ruta("mayo.log"));

    bool conDialogo = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            conDialogo = true;
            modal->close();
        }
    });
    ventana.cmdProcesar_Click();
    QCoreApplication::processEvents();

    QVERIFY(!conDialogo);
    QCOMPARE(servicios.mensajes, QStringList { mensaje });
    QCOMPARE(QFileInfo(Ruta("mayo.log")).isDir(), caso == "folder");
    if (caso != "folder") {
        QCOMPARE(Leer(Ruta("mayo.log")), logAntes);
    }
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

// Messages are shown under the normal pointer; the pointer is a state: busy
// twice, then normal once, is normal.
void tst_frmEntrada::punteroDelRaton()
{
    modMain::FicheroEntrada = Ruta("no-existe.txt").toStdString();
    modMain::FicheroSalida = Ruta("no-existe.log").toStdString();
    bool ocupadoAlAvisar = true;
    struct Espia : ServiciosGuionados
    {
        bool *ocupado;
        void Mensaje(QWidget *, const QString &texto) override
        {
            *ocupado = QApplication::overrideCursor() != nullptr;
            mensajes.append(texto);
        }
    } espia;
    espia.ocupado = &ocupadoAlAvisar;
    frmEntrada conEspia(espia);
    conEspia.cmdProcesar_Click();
    QCOMPARE(espia.mensajes, QStringList { "No se puede abrir el fichero de Entrada" });
    QVERIFY(!ocupadoAlAvisar);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    conEspia.PunteroOcupado();
    conEspia.PunteroOcupado();
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    conEspia.PunteroNormal();
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
        resultado.MostrarResultado("Proceso terminado con errores", Qt::red, true);
        resultado.show();
        QVERIFY(QTest::qWaitForWindowExposed(&resultado));
        QVERIFY(ContrasteDibujado(resultado.Label1) >= 3);
        GuardarCaptura({ &ventana, &resultado }, oscura.color(QPalette::Window));
    }
    QApplication::setPalette(antes);
}

// Ctrl+O opens the file dialog; every control tells a screen reader what it is.
void tst_frmEntrada::teclado()
{
    ServiciosGuionados servicios;
    frmEntrada ventana(servicios);
    ventana.show();
    QVERIFY(QTest::qWaitForWindowActive(&ventana));
    QTest::keyClick(&ventana, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(servicios.abiertoEn.size(), 1);
    QCOMPARE(ventana.Image1->toolTip(), QString("Buscar fichero (Ctrl+O)"));
    frmMsg resultado(servicios, &ventana);
    for (QWidget *control :
        ventana.findChildren<QWidget *>() + resultado.findChildren<QWidget *>()) {
        if (!control->objectName().isEmpty()) {
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
            QVERIFY2(
                !control->accessibleDescription().isEmpty(), qPrintable(control->objectName()));
        }
    }
    QCOMPARE(QLocale().language(), QLocale::Spanish); // the services set it
}

// An installed program's folder is not the user's: the dialog starts in the
// documents folder, or at home.
void tst_frmEntrada::carpetaInicial()
{
    QCOMPARE(CarpetaInicial(carpeta_->path()), carpeta_->path());
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(CarpetaInicial(Ruta("no-such-folder")),
        QFileInfo(documentos).isDir() ? documentos : QDir::homePath());
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
