#include "servicios.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>
#include <QTranslator>

namespace {

const QString kTitulo = QStringLiteral("Cotarel");

void MostrarCaja(QWidget *padre, const QString &texto, QMessageBox::Icon icono)
{
    QMessageBox caja(icono, kTitulo, texto, QMessageBox::Ok, padre);
    caja.button(QMessageBox::Ok)->setText(QStringLiteral("OK")); // in every language
    caja.exec();
}

// Spanish (Spain) for Qt itself, whatever the system's locale: the file
// dialog's dates, sizes and labels, and its texts where Qt's translation is
// installed.
void CargarTraduccionDeQt()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    static bool cargada = false;
    if (cargada || QCoreApplication::instance() == nullptr) {
        return;
    }
    auto *traduccion = new QTranslator(QCoreApplication::instance());
    if (traduccion->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(traduccion);
        cargada = true;
    } else {
        delete traduccion;
    }
}

// Where there is no program of the command's name (a desktop without
// Notepad), the desktop's own opener shows the file in its text editor.
QString Abridor()
{
#if defined(Q_OS_MACOS)
    return QStringLiteral("open");
#else
    return QStringLiteral("xdg-open");
#endif
}

bool Arrancar(const QString &programa, const QString &argumento)
{
    qint64 pid = 0;
    return QProcess::startDetached(programa, { argumento }, QString(), &pid) && pid != 0;
}

#if !defined(Q_OS_WIN)
constexpr int kEsperaFallo = 2000; // ms

// The program starts detached, so it outlives Cotarel; a shell around it
// writes its exit status into a file, but only while the file still exists:
// two seconds after the start the file is read and removed.
bool ArrancarVigilado(
    const QString &programa, const QString &argumento, std::function<void()> siFallaPronto)
{
    // Owned by the application until the check, so nothing is left if it ends first.
    auto *estado = new QTemporaryFile(
        QDir::tempPath() + QStringLiteral("/cotarel-XXXXXX"), QCoreApplication::instance());
    if (!estado->open()) {
        delete estado;
        return Arrancar(programa, argumento);
    }
    estado->close();
    qint64 pid = 0;
    const bool arrancado
        = QProcess::startDetached(QStringLiteral("/bin/sh"),
              { QStringLiteral("-c"),
                  QStringLiteral("\"$0\" \"$1\"; s=$?; [ -e \"$2\" ] && echo $s > \"$2\""),
                  programa, argumento, estado->fileName() },
              QString(), &pid)
        && pid != 0;
    if (!arrancado) {
        delete estado;
        return false;
    }
    QTimer::singleShot(kEsperaFallo, QCoreApplication::instance(), [estado, siFallaPronto] {
        estado->open();
        const QByteArray salida = estado->readAll().trimmed();
        delete estado; // removes the file: a later end writes nothing
        if (!salida.isEmpty() && salida != "0") {
            siFallaPronto();
        }
    });
    return true;
}
#endif

} // namespace

ServiciosReales::ServiciosReales()
{
    CargarTraduccionDeQt();
}

void ServiciosReales::MostrarAbrir(QWidget *padre, DialogoAbrir &dialogo)
{
    // Qt's own dialog, the same on every desktop: it keeps the title, refuses
    // names of files that do not exist, and takes a typed full path.
    QFileDialog caja(padre, dialogo.DialogTitle);
    caja.setOption(QFileDialog::DontUseNativeDialog);
    caja.setFileMode(QFileDialog::ExistingFile);
    caja.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialogo.FileName.isEmpty()) {
        caja.setDirectory(dialogo.InitDir);
    } else {
        caja.selectFile(dialogo.FileName);
    }
    if (caja.exec() == QDialog::Accepted && !caja.selectedFiles().isEmpty()) {
        dialogo.FileName = caja.selectedFiles().constFirst();
    }
}

void ServiciosReales::Mensaje(QWidget *padre, const QString &texto)
{
    MostrarCaja(padre, texto, QMessageBox::NoIcon);
}

void ServiciosReales::Informacion(QWidget *padre, const QString &texto)
{
    MostrarCaja(padre, texto, QMessageBox::Information);
}

bool ServiciosReales::Preguntar(QWidget *padre, const QString &texto)
{
    QMessageBox caja(
        QMessageBox::NoIcon, kTitulo, texto, QMessageBox::Yes | QMessageBox::No, padre);
    caja.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
    caja.button(QMessageBox::No)->setText(QStringLiteral("No"));
    caja.setDefaultButton(QMessageBox::Yes);
    return caja.exec() == QMessageBox::Yes;
}

// The command text is the program's name, one blank, and its single argument,
// which may itself hold blanks and is passed whole.
bool ServiciosReales::Ejecutar(const QString &orden, std::function<void()> siFallaPronto)
{
    const QString programa = orden.section(QLatin1Char(' '), 0, 0);
    const QString argumento = orden.mid(programa.size() + 1);
#if defined(Q_OS_WIN)
    static_cast<void>(siFallaPronto); // Notepad is always there, and stays open
    return Arrancar(programa, argumento);
#else
    const QString ejecutable
        = QStandardPaths::findExecutable(programa).isEmpty() ? Abridor() : programa;
    if (!siFallaPronto || QStandardPaths::findExecutable(ejecutable).isEmpty()) {
        return Arrancar(ejecutable, argumento);
    }
    return ArrancarVigilado(ejecutable, argumento, std::move(siFallaPronto));
#endif
}
