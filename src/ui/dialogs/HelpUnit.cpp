#include "ui/dialogs/HelpUnit.h"

#include "base/Errors.h"
#include "ui/app/QuillmarkApplication.h"

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>

namespace quillmark {

THelpForm::THelpForm(const QString& programFolder, QWidget* parent)
    : QDialog(parent), m_programFolder(programFolder)
{
    setWindowTitle(tr("Справка"));
    resize(600, 480);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Memo = new QPlainTextEdit(this);
    Memo->setReadOnly(true);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette colours = Memo->palette();
    colours.setColor(QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));
    colours.setColor(QPalette::Text, QToolTip::palette().color(QPalette::ToolTipText));
    Memo->setPalette(colours);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(13);
    Memo->setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo);
}

void THelpForm::FormShow()
{
    // The English help beside the Russian one, when the window speaks English.
    QFile file(m_programFolder + QLatin1String(InstalledLanguage() == UiLanguage::English &&
                                                      QFile::exists(m_programFolder + QLatin1String(kEnglishFileName))
                                                  ? kEnglishFileName
                                                  : kFileName));
    if (!file.open(QIODevice::ReadOnly)) {
        Memo->setPlainText(tr("Файл справки Quillmark.txt не найден"));
        return;
    }
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(file.errorString().toStdString());
    Memo->setPlainText(QString::fromUtf8(text));
}

void THelpForm::FormKeyDown(int key)
{
    if (key == Qt::Key_Escape)
        close();
}

void THelpForm::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void THelpForm::keyPressEvent(QKeyEvent* event)
{
    FormKeyDown(event->key());
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}

} // namespace quillmark
