#include "ui/widgets/PicturePreviewDialog.h"

#include "base/Errors.h"
#include "formats/PictureLoader.h"
#include "ui/imaging/FastBMPDraw.h"
#include "imaging/OpenedPicture.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <new>

namespace quillmark {

namespace {

constexpr int kPaneSide = 160;
const QString kPictureLabel = QStringLiteral("Picture:");

} // namespace

QStringList DialogNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters;
}

PicturePreviewDialog::PicturePreviewDialog(const PictureFormatList& formats, const QString& folder,
                                           const QString& filter, QWidget* parent)
    : QFileDialog(parent), m_formats(formats)
{
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    setDirectory(folder);
    const QStringList filters = DialogNameFilters(filter);
    setNameFilters(filters);
    if (!filters.isEmpty())
        selectNameFilter(filters.constFirst());

    auto* pane = new QWidget(this);
    auto* paneLayout = new QVBoxLayout(pane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    m_label = new QLabel(kPictureLabel, pane);
    m_picture = new QLabel(pane);
    m_picture->setFixedSize(kPaneSide, kPaneSide);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::StyledPanel);
    m_previewButton = new QPushButton(QStringLiteral("Preview"), pane);
    m_previewButton->setEnabled(false);
    paneLayout->addWidget(m_label);
    paneLayout->addWidget(m_picture);
    paneLayout->addWidget(m_previewButton);
    paneLayout->addStretch(1);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(pane, 0, grid->columnCount(), grid->rowCount(), 1);

    connect(this, &QFileDialog::currentChanged, this, &PicturePreviewDialog::ShowPreview);
    connect(m_previewButton, &QPushButton::clicked, this, &PicturePreviewDialog::ShowFullSize);
}

void PicturePreviewDialog::ShowPreview(const QString& path)
{
    m_image = QImage();
    m_label->setText(kPictureLabel);
    m_picture->clear();
    m_previewButton->setEnabled(false);
    if (!QFileInfo(path).isFile())
        return;
    // A file that does not decode is no failure of the dialog: the pane just
    // stays empty, whatever the decoder said.
    try {
        std::unique_ptr<Graphic> picture = LoadPicture(m_formats, QFile::encodeName(path).toStdString());
        const int width = picture->Width();
        const int height = picture->Height();
        const std::unique_ptr<TFastBMP> source = TFastBMP::CreateFromBitmap(picture->TakeBitmap());
        m_image = FastBMPImage(*source).copy();
        m_label->setText(QStringLiteral(" (%1x%2)").arg(width).arg(height));
    } catch (...) {
        return;
    }
    if (m_image.isNull())
        return;
    m_picture->setPixmap(QPixmap::fromImage(
        m_image.scaled(kPaneSide, kPaneSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    m_previewButton->setEnabled(true);
}

QString PicturePreviewDialog::PreviewLabelText() const
{
    return m_label->text();
}

bool PicturePreviewDialog::PreviewAvailable() const
{
    return m_previewButton->isEnabled();
}

void PicturePreviewDialog::ShowFullSize()
{
    if (m_image.isNull())
        return;
    QDialog view(this);
    view.setWindowTitle(m_label->text());
    auto* layout = new QVBoxLayout(&view);
    auto* area = new QScrollArea(&view);
    auto* picture = new QLabel(area);
    picture->setPixmap(QPixmap::fromImage(m_image));
    area->setWidget(picture);
    layout->addWidget(area);
    view.resize(std::min(m_image.width() + 40, 900), std::min(m_image.height() + 40, 700));
    view.exec();
}

} // namespace quillmark
