#include "disposicion_qt.h"
#include "frmMsg.h"
#include "modal.h"
#include "servicios_guionados.h"
#include "serviciosqt.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// A stand-in "notepad" for the tests: it appends each argument it gets to a
// file, one line per start.
class NotepadFalso
{
public:
    explicit NotepadFalso(int estado = 0)
        : pathOriginal_(qgetenv("PATH"))
    {
        const QString guion = carpeta_.filePath("notepad");
        QFile fichero(guion);
        fichero.open(QIODevice::WriteOnly);
        // One write per start, so two editors started at once do not mix their lines.
        fichero.write("#!/bin/sh\nlinea=\nfor a in \"$@\"; do linea=\"$linea[$a]\"; done\n"
                      "printf '%s\\n' \"$linea\" >> \"$(dirname \"$0\")/llamadas\"\n"
            + QByteArray("exit ") + QByteArray::number(estado) + "\n");
        fichero.close();
        fichero.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", (carpeta_.path() + ":" + pathOriginal_).toUtf8());
    }
    ~NotepadFalso() { qputenv("PATH", pathOriginal_.toUtf8()); }

    QStringList Llamadas() const
    {
        QFile fichero(carpeta_.filePath("llamadas"));
        if (!fichero.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(fichero.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir carpeta_;
    QString pathOriginal_;
};

// Presses "&Detalles" on the dialog of a run with errors whose log is `log`.
void PulsarDetalles(ventanas::Servicios &servicios, const QString &log, int veces)
{
    QWidget principal;
    frmMsg dialogo(servicios, &principal, log);
    dialogo.MostrarResultado({ "Proceso terminado con errores", ventanas::kRojo, true });
    for (int vez = 0; vez < veces; ++vez) {
        QTest::mouseClick(dialogo.Command1, Qt::LeftButton);
    }
}

// The real editor's start with scripted message boxes.
struct ServiciosConEditorReal : ServiciosGuionados
{
    bool Ejecutar(std::string_view orden, std::function<void()> siFallaPronto) override
    {
        return reales.Ejecutar(orden, std::move(siFallaPronto));
    }
    ventanas::ServiciosQt reales;
};

const std::string kSinEditor
    = "[i] No se puede mostrar el fichero log, visualicelo con un programa editor de textos\n";

class tst_frmMsg : public QObject
{
    Q_OBJECT

private slots:
    void geometria();
    void contenidoInicial();
    void colocacion();
    void teclado();
    void cerrarTraeLaVentanaPrincipal();
    void detallesArrancaElEditor();
    void detallesSinEditor();
    void detallesEditorQueFalla();
    void cajasDeMensajeReales_data();
    void cajasDeMensajeReales();
    void preguntaReal();
};

// The layout's figures are the shared table's; here, that the face builds
// it whole: the dialog at the table's size, nothing cut or covered.
void tst_frmMsg::geometria()
{
    ServiciosGuionados servicios;
    QWidget principal;
    frmMsg dialogo(servicios, &principal);
    QCOMPARE(dialogo.size(), QSize(384, 87));
    ComprobarDisposicion(dialogo);
}

void tst_frmMsg::contenidoInicial()
{
    ServiciosGuionados servicios;
    QWidget principal;
    frmMsg dialogo(servicios, &principal);
    QCOMPARE(dialogo.Label1->text(), QString("Proceso terminado"));
    QCOMPARE(dialogo.Label1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(!dialogo.Command1->isEnabled());
    QVERIFY(!dialogo.Command1->isDefault() && !dialogo.cmdAceptar->isDefault());
    QVERIFY(dialogo.isModal());
    QVERIFY(
        !(dialogo.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // Comic Sans MS, or the stand-in the set-up installs.
    QVERIFY2(QStringList({ "Comic Sans MS", "Comic Neue" })
                 .contains(QFontInfo(dialogo.Label1->font()).family()),
        qPrintable(QFontInfo(dialogo.Label1->font()).family()));
    QVERIFY2(QStringList({ "MS Sans Serif", "Liberation Sans" })
                 .contains(QFontInfo(dialogo.cmdAceptar->font()).family()),
        qPrintable(QFontInfo(dialogo.cmdAceptar->font()).family()));
    // Every outcome text and the captions fit their controls.
    for (const char *texto :
        { "Proceso terminado con errores", "No se ha comprobado ninguna cuenta" }) {
        dialogo.MostrarResultado({ texto, ventanas::kRojo, true });
        QVERIFY2(dialogo.Label1->sizeHint().width() <= dialogo.Label1->width(), texto);
        QVERIFY2(dialogo.Label1->sizeHint().height() <= dialogo.Label1->height(), texto);
    }
    for (QPushButton *boton : { dialogo.Command1, dialogo.cmdAceptar }) {
        QVERIFY(QFontMetrics(boton->font()).horizontalAdvance(boton->text()) < boton->width() - 8);
    }
}

// The placement's arithmetic is the shared logic's; here, that the dialog
// applies it to a moved main window.
void tst_frmMsg::colocacion()
{
    ServiciosGuionados servicios;
    QWidget ventana;
    ventana.setFixedSize(368, 244);
    ventana.move(300, 200);
    frmMsg dialogo(servicios, &ventana);
    QCOMPARE(dialogo.pos(), QPoint(292, 279));
}

void tst_frmMsg::teclado()
{
    ServiciosGuionados servicios;
    QWidget principal;
    principal.show();
    frmMsg dialogo(servicios, &principal);
    dialogo.MostrarResultado({ "Proceso terminado con errores", ventanas::kRojo, true });
    dialogo.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialogo));
    QCOMPARE(QApplication::focusWidget(), dialogo.cmdAceptar);
    QTest::keyClick(&dialogo, Qt::Key_Escape);
    QVERIFY(dialogo.isVisible()); // no cancel button
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), dialogo.Command1);
    // Another window takes the keyboard (the editor "&Detalles" opened),
    // then the dialog is activated again: the focus is where it was.
    {
        QWidget otra;
        otra.show();
        otra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&otra));
        dialogo.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialogo));
    }
    QCOMPARE(QApplication::focusWidget(), dialogo.Command1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), dialogo.cmdAceptar);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!dialogo.isVisible());
}

void tst_frmMsg::cerrarTraeLaVentanaPrincipal()
{
    ServiciosGuionados servicios;
    QWidget principal;
    principal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&principal));
    for (const bool porAceptar : { true, false }) {
        frmMsg dialogo(servicios, &principal);
        dialogo.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialogo));
        if (porAceptar) {
            QCOMPARE(dialogo.cmdAceptar->shortcut(), QKeySequence("Alt+A"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A,
                Qt::AltModifier); // clicks after a short animation
        } else {
            dialogo.close(); // the title bar's close button
        }
        QTRY_VERIFY2(!dialogo.isVisible(), porAceptar ? "Alt+A" : "close");
        QTRY_COMPARE(QApplication::activeWindow(), &principal);
    }
}

void tst_frmMsg::detallesArrancaElEditor()
{
    NotepadFalso notepad;
    ServiciosConEditorReal servicios;
    PulsarDetalles(servicios, "/tmp/mis remesas/mayo  junio.log", 2);
    QTRY_COMPARE(notepad.Llamadas().size(), 2);
    QCOMPARE(notepad.Llamadas(), QStringList(2, "[/tmp/mis remesas/mayo  junio.log]"));
    QVERIFY(servicios.mensajes.empty());
}

// An opener that gives up at once (xdg-open with nothing set for the file)
// gets the message, with the log's path to open it by hand.
void tst_frmMsg::detallesEditorQueFalla()
{
    NotepadFalso notepad(3);
    ServiciosConEditorReal servicios;
    PulsarDetalles(servicios, "/tmp/mayo.log", 1);
    QTRY_COMPARE_WITH_TIMEOUT(
        servicios.mensajes, std::vector<std::string> { kSinEditor + "/tmp/mayo.log" }, 5000);
}

// No notepad and no opener at all: the same message with the path.
void tst_frmMsg::detallesSinEditor()
{
    const QByteArray pathOriginal = qgetenv("PATH");
    QTemporaryDir vacia;
    qputenv("PATH", vacia.path().toUtf8());
    ServiciosConEditorReal servicios;
    PulsarDetalles(servicios, "/tmp/mayo.log", 1);
    qputenv("PATH", pathOriginal);
    QCOMPARE(servicios.mensajes, std::vector<std::string> { kSinEditor + "/tmp/mayo.log" });
}

// The real message boxes, as the user sees them.
void tst_frmMsg::cajasDeMensajeReales_data()
{
    QTest::addColumn<bool>("informacion");
    QTest::addColumn<int>("icono");
    QTest::newRow("plain message") << false << int(QMessageBox::NoIcon);
    QTest::newRow("information message") << true << int(QMessageBox::Information);
}

void tst_frmMsg::cajasDeMensajeReales()
{
    QFETCH(bool, informacion);
    QFETCH(int, icono);
    ventanas::ServiciosQt servicios;
    QString titulo, texto;
    int iconoVisto = -1;
    QStringList botones;
    AlAparecerModal([&](QWidget *modal) {
        auto *caja = qobject_cast<QMessageBox *>(modal);
        QVERIFY(caja);
        titulo = caja->windowTitle();
        texto = caja->text();
        iconoVisto = caja->icon();
        for (QAbstractButton *boton : caja->buttons()) {
            botones.append(boton->text());
        }
        caja->button(QMessageBox::Ok)->click();
    });
    if (informacion) {
        servicios.Informacion("El fichero no es CSB");
    } else {
        servicios.Mensaje("El fichero no es CSB");
    }
    QCOMPARE(titulo, QString("Cotarel"));
    QCOMPARE(texto, QString("El fichero no es CSB"));
    QCOMPARE(iconoVisto, icono);
    QCOMPARE(botones, QStringList { "OK" });
}

void tst_frmMsg::preguntaReal()
{
    ventanas::ServiciosQt servicios;
    QCOMPARE(QLocale().language(), QLocale::Spanish); // the real services set it
    for (const bool si : { true, false }) {
        QStringList botones;
        QString porDefecto;
        int icono = -1;
        AlAparecerModal([&](QWidget *modal) {
            auto *caja = qobject_cast<QMessageBox *>(modal);
            QVERIFY(caja);
            QCOMPARE(caja->windowTitle(), QString("Cotarel"));
            icono = caja->icon();
            for (QAbstractButton *boton : caja->buttons()) {
                botones.append(boton->text());
            }
            porDefecto = caja->defaultButton()->text();
            caja->button(si ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        QCOMPARE(servicios.Preguntar("El fichero de salida ya existe ¿Desea sobreescribirlo?"), si);
        botones.sort();
        QCOMPARE(botones, (QStringList { "No", "Sí" }));
        QCOMPARE(porDefecto, QString("Sí"));
        QCOMPARE(icono, int(QMessageBox::NoIcon));
    }
}

QTEST_MAIN(tst_frmMsg)
#include "tst_frmmsg.moc"
