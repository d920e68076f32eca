#include "serviciosqt.h"

#include "controles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>
#include <QTranslator>

namespace ventanas {
namespace {

const QString kTitulo = QStringLiteral("Cotarel");

// The dialogs belong to the window the user is working in.
QWidget *Padre()
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal != nullptr ? modal : QApplication::activeWindow();
}

void MostrarCaja(std::string_view texto, QMessageBox::Icon icono)
{
    QMessageBox caja(icono, kTitulo, Texto(texto), QMessageBox::Ok, Padre());
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
    return QStringLiteral("xdg-open");
}

bool Arrancar(const QString &programa, const QString &argumento)
{
    qint64 pid = 0;
    return QProcess::startDetached(programa, { argumento }, QString(), &pid) && pid != 0;
}

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

} // namespace

ServiciosQt::ServiciosQt()
{
    CargarTraduccionDeQt();
}

std::optional<std::string> ServiciosQt::ElegirFichero(const DialogoAbrir &dialogo)
{
    // Qt's own dialog, the same on every desktop: it keeps the title, refuses
    // names of files that do not exist, and takes a typed full path.
    QFileDialog caja(Padre(), Texto(dialogo.titulo));
    caja.setOption(QFileDialog::DontUseNativeDialog);
    caja.setFileMode(QFileDialog::ExistingFile);
    caja.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialogo.fichero.empty()) {
        caja.setDirectory(Texto(dialogo.carpetaInicial));
    } else {
        caja.selectFile(Texto(dialogo.fichero));
    }
    if (caja.exec() == QDialog::Accepted && !caja.selectedFiles().isEmpty()) {
        return caja.selectedFiles().constFirst().toStdString();
    }
    return std::nullopt;
}

void ServiciosQt::Mensaje(std::string_view texto)
{
    MostrarCaja(texto, QMessageBox::NoIcon);
}

void ServiciosQt::Informacion(std::string_view texto)
{
    MostrarCaja(texto, QMessageBox::Information);
}

bool ServiciosQt::Preguntar(std::string_view texto)
{
    QMessageBox caja(
        QMessageBox::NoIcon, kTitulo, Texto(texto), QMessageBox::Yes | QMessageBox::No, Padre());
    caja.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
    caja.button(QMessageBox::No)->setText(QStringLiteral("No"));
    caja.setDefaultButton(QMessageBox::Yes);
    return caja.exec() == QMessageBox::Yes;
}

// The command text is the program's name, one blank, and its single argument,
// which may itself hold blanks and is passed whole. Where there is no program
// of that name, nor the desktop's opener, nothing starts.
bool ServiciosQt::Ejecutar(std::string_view ordenUtf8, std::function<void()> siFallaPronto)
{
    const QString orden = Texto(ordenUtf8);
    const QString programa = orden.section(QLatin1Char(' '), 0, 0);
    const QString argumento = orden.mid(programa.size() + 1);
    const QString ejecutable
        = QStandardPaths::findExecutable(programa).isEmpty() ? Abridor() : programa;
    if (QStandardPaths::findExecutable(ejecutable).isEmpty()) {
        return false;
    }
    if (!siFallaPronto) {
        return Arrancar(ejecutable, argumento);
    }
    return ArrancarVigilado(ejecutable, argumento, std::move(siFallaPronto));
}

Carpetas ServiciosQt::CarpetasDelUsuario()
{
    const QString programa = QCoreApplication::applicationDirPath();
    const QFileInfo carpeta(programa);
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return { programa.toStdString(), carpeta.isDir() && carpeta.isWritable(),
        QFileInfo(documentos).isDir() ? documentos.toStdString() : std::string(),
        QDir::homePath().toStdString() };
}

} // namespace ventanas
