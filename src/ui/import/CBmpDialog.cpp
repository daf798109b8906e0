#include "ui/import/CBmpDialog.h"

#include "core/import/BitmapPreview.h"
#include "core/import/FileHead.h"
#include "core/import/PictureFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace qm::ui {

namespace {
bool showPreviewState = true;
int modeState = 0;
bool flipsState = false;

QImage qimageOf(const BitmapImage& image)
{
    QImage q(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(q.scanLine(y));
        for (int x = 0; x < image.width; ++x)
            line[x] = 0xFF000000u | image.at(x, y);
    }
    return q;
}
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
    mode_ = new QComboBox;
    mode_->addItems({QStringLiteral("Automatic"), QStringLiteral("DMG: four key colours"),
                     QStringLiteral("GBC: up to 8 palettes")});
    mode_->setCurrentIndex(modeState);
    v->addWidget(mode_);
    flips_ = new QCheckBox(QStringLiteral("Reuse flipped tiles (GBC)"));
    flips_->setChecked(flipsState);
    v->addWidget(flips_);
    result_ = new QLabel;
    result_->setWordWrap(true);
    result_->setMaximumWidth(PICTURE_SIZE + 40);
    v->addWidget(result_);
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
    connect(mode_, &QComboBox::currentIndexChanged, this, [this](int i) {
        modeState = i;
        showResult();
    });
    connect(flips_, &QCheckBox::toggled, this, [this](bool on) {
        flipsState = on;
        showResult();
    });
    connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) { updatePreview(path); });
}

CBmpDialog::~CBmpDialog() = default;

PictureImportOptions CBmpDialog::options(const BitmapImage& image) const
{
    PictureImportOptions o;
    o.mode = mode_->currentIndex() == 1   ? PictureMode::Dmg
             : mode_->currentIndex() == 2 ? PictureMode::Gbc
                                          : defaultModeFor(image);
    // Flipped tiles need the flip attribute of a GBC map.
    o.reuse = flips_->isChecked() && o.mode == PictureMode::Gbc ? TileReuse::Flips : TileReuse::Exact;
    return o;
}

void CBmpDialog::clearPreview()
{
    picture_->clear();
    for (QLabel* l : lines_)
        l->clear();
    result_->clear();
}

void CBmpDialog::showResult()
{
    if (image_)
        result_->setText(QString::fromStdString(importPreviewLine(*image_, options(*image_))));
}

void CBmpDialog::updatePreview(const QString& path)
{
    current_ = path;
    image_.reset();
    clearPreview();
    if (!show_->isChecked() || path.isEmpty() || QFileInfo(path).isDir())
        return;
    std::vector<std::uint8_t> head;
    if (readFileHead(path.toStdString(), 64, head) != ReadStatus::Ok)
        return; // a FIFO or device would block the reader
    const std::optional<BitmapPreviewInfo> sizes = readBitmapPreviewInfo(head);
    if (!sizes)
        return;
    const std::array<std::string, 4> text =
        bitmapPreviewLines(*sizes, static_cast<std::uint64_t>(QFileInfo(path).size()));
    for (size_t i = 0; i < text.size(); ++i)
        lines_[i]->setText(QString::fromStdString(text[i]));
    BitmapImage image;
    if (const Result r = readPictureFile(path.toStdString(), image); !r) {
        result_->setText(QString::fromStdString(r.text()));
        return;
    }
    picture_->setPixmap(QPixmap::fromImage(qimageOf(image).scaled(picture_->size(), Qt::KeepAspectRatio)));
    image_ = std::move(image);
    showResult();
}

} // namespace qm::ui
