#include "ui/app/ModalDialogs.h"

#include "ui/widgets/PicturePreviewDialog.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace quillmark {

namespace {

QString RunFileDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.Caption, request.Folder, request.Filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    if (!request.OverwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (request.PicturePreview)
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

void QtModalDialogs::ShowMessage(const QString& text)
{
    QMessageBox::information(m_parent, QApplication::applicationName(), text);
}

void QtModalDialogs::ShowError(const QString& caption, const QString& text)
{
    QMessageBox::critical(m_parent, caption, text);
}

bool QtModalDialogs::Confirm(const QString& caption, const QString& text)
{
    return QMessageBox::question(m_parent, caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

ModalDialogs::Answer ModalDialogs::AskYesNoCancel(const QString& caption, const QString& text)
{
    return Confirm(caption, text) ? Answer::Yes : Answer::No;
}

ModalDialogs::Answer QtModalDialogs::AskYesNoCancel(const QString& caption, const QString& text)
{
    const auto button = QMessageBox::question(m_parent, caption, text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    return button == QMessageBox::No ? Answer::No : Answer::Cancel;
}

QString QtModalDialogs::AskOpenFileName(const FileDialogRequest& request)
{
    return RunFileDialog(m_parent, request, QFileDialog::AcceptOpen);
}

QString QtModalDialogs::AskSaveFileName(const FileDialogRequest& request)
{
    return RunFileDialog(m_parent, request, QFileDialog::AcceptSave);
}

QString ModalDialogs::AskPictureFileName(const QString& folder, const QString& filter,
                                         const PictureFormatList& /*formats*/)
{
    FileDialogRequest request;
    request.Folder = folder;
    request.Filter = filter;
    request.PicturePreview = true;
    return AskOpenFileName(request);
}

QString QtModalDialogs::AskPictureFileName(const QString& folder, const QString& filter,
                                           const PictureFormatList& formats)
{
    PicturePreviewDialog dialog(formats, folder, filter, m_parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

int QtModalDialogs::ShowModalDialog(QDialog& dialog)
{
    return dialog.exec();
}

} // namespace quillmark
