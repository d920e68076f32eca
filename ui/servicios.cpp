#include "servicios.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
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
bool ServiciosReales::Ejecutar(const QString &orden)
{
    const QString programa = orden.section(QLatin1Char(' '), 0, 0);
    const QString argumento = orden.mid(programa.size() + 1);
#if defined(Q_OS_WIN)
    return Arrancar(programa, argumento);
#else
    if (!QStandardPaths::findExecutable(programa).isEmpty()) {
        return Arrancar(programa, argumento);
    }
    return Arrancar(Abridor(), argumento);
#endif
}
