#include "ui/import/CBmpDialog.h"

#include "core/import/BitmapPreview.h"
#include "core/import/FileHead.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace qm::ui {

namespace {
bool showPreviewState = true;
} // namespace

bool CBmpDialog::previewShown()
{
    return showPreviewState;
}

void CBmpDialog::setPreviewShown(bool on)
{
    showPreviewState = on;
}

CBmpDialog::CBmpDialog(QWidget* parent) : QFileDialog(parent)
{
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilters({QStringLiteral("Bitmaps (*.bmp)"), QStringLiteral("PNG pictures (*.png)")});
    selectFile(QStringLiteral("*.bmp"));

    box_ = new QGroupBox(QStringLiteral("Preview"));
    picture_ = new QLabel;
    picture_->setFixedSize(PICTURE_SIZE, PICTURE_SIZE);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::Box);
    auto* v = new QVBoxLayout(box_);
    v->addWidget(picture_);
    for (QLabel*& l : lines_) {
        l = new QLabel;
        v->addWidget(l);
    }
    show_ = new QCheckBox(QStringLiteral("Show Preview"));
    v->addWidget(show_);
    v->addStretch();
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(box_, 0, grid->columnCount(), grid->rowCount(), 1);

    show_->setChecked(showPreviewState);
    connect(show_, &QCheckBox::toggled, this, [this](bool on) {
        showPreviewState = on;
        if (on)
            updatePreview(current_);
        else
            clearPreview();
    });
    connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) { updatePreview(path); });
}

CBmpDialog::~CBmpDialog() = default;

void CBmpDialog::clearPreview()
{
    picture_->clear();
    for (QLabel* l : lines_)
        l->clear();
}

void CBmpDialog::updatePreview(const QString& path)
{
    current_ = path;
    clearPreview();
    if (!show_->isChecked() || path.isEmpty() || QFileInfo(path).isDir())
        return;
    const QFileInfo info(path);
    std::vector<std::uint8_t> head;
    std::optional<BitmapPreviewInfo> sizes;
    const ReadResult read = readFileHead(path.toStdString(), 64, head);
    if (read == ReadStatus::NotRegular)
        return; // a FIFO or device would block the picture reader
    if (read == ReadStatus::Ok)
        sizes = readBitmapPreviewInfo(head);
    QImageReader reader(path);
    const QImage image = reader.read();
    if (!sizes && !image.isNull())
        sizes = BitmapPreviewInfo{image.width(), image.height(), image.depth()};
    if (!sizes)
        return;
    if (!image.isNull())
        picture_->setPixmap(QPixmap::fromImage(image.scaled(picture_->size(), Qt::KeepAspectRatio)));
    const std::array<std::string, 4> text = bitmapPreviewLines(*sizes, static_cast<std::uint64_t>(info.size()));
    for (size_t i = 0; i < text.size(); ++i)
        lines_[i]->setText(QString::fromStdString(text[i]));
}

} // namespace qm::ui
