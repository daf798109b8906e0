#include "ui/import/ImportTilesetDialog.h"

#include "core/base/FileIO.h"
#include "core/base/Format.h"
#include "ui/app/CommandHost.h"
#include "ui/app/ProjectDialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::ui {

namespace {
const char* const BIN_FILTER =
    "Bin File(*.bin)|*.bin|BG Tileset(*.qmb;*.bts)|*.qmb;*.bts|OBJ Tileset(*.qmo;*.ots)|*.qmo;*.ots|All Files "
    "(*.*)|*.*||";
const char* const BG_FILTER =
    "BG Tileset(*.qmb;*.bts)|*.qmb;*.bts|OBJ Tileset(*.qmo;*.ots)|*.qmo;*.ots|All Files (*.*)|*.*||";
const char* const OBJ_FILTER =
    "OBJ Tileset(*.qmo;*.ots)|*.qmo;*.ots|BG Tileset(*.qmb;*.bts)|*.qmb;*.bts|All Files (*.*)|*.*||";
} // namespace

ImportTilesetDialog::ImportTilesetDialog(const CommandHost& host, int startKind, QWidget* parent)
    : QDialog(parent), host_(host)
{
    setWindowTitle(QStringLiteral("Import Tileset"));
    fileName_ = new QLineEdit;
    auto* browseButton = new QPushButton(QStringLiteral("..."));
    type_ = new QComboBox;
    type_->addItem(QString::fromUtf8(TILE_TYPE_BINARY));
    type_->addItem(QString::fromUtf8(TILE_TYPE_TILESET));
    type_->addItem(QString::fromUtf8(TILE_TYPE_SHEET));
    type_->setCurrentIndex(0);
    bg_ = new QRadioButton(QStringLiteral("BG"));
    obj_ = new QRadioButton(QStringLiteral("OBJ"));
    (startKind == TILE_OBJ ? obj_ : bg_)->setChecked(true);
    from_ = new QLineEdit(QStringLiteral("0"));
    to_ = new QLineEdit(QStringLiteral("0"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Filename :")), 0, 0);
    grid->addWidget(fileName_, 0, 1);
    grid->addWidget(browseButton, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Type :")), 1, 0);
    grid->addWidget(type_, 1, 1, 1, 2);
    auto* kindBox = new QGroupBox(QStringLiteral("Tile Set Type"));
    auto* kindLayout = new QHBoxLayout(kindBox);
    auto* group = new QButtonGroup(kindBox);
    group->addButton(bg_);
    group->addButton(obj_);
    kindLayout->addWidget(bg_);
    kindLayout->addWidget(obj_);
    grid->addWidget(kindBox, 2, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("From Tile:")), 3, 0);
    grid->addWidget(from_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("To Tile :")), 4, 0);
    grid->addWidget(to_, 4, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
}

void ImportTilesetDialog::browse()
{
    QString path;
    if (type_->currentIndex() == 0)
        path = host_.chooseFile(QStringLiteral("Get Bin file"), qtFileFilters(QString::fromUtf8(BIN_FILTER)),
                                QStringLiteral("bin"));
    else if (type_->currentIndex() == 2)
        path = host_.chooseFile(QStringLiteral("Get tile sheet"), QStringLiteral("PNG tile sheet (*.png);;All Files (*)"),
                                QStringLiteral("png"));
    else if (bg_->isChecked())
        path = host_.chooseFile(QStringLiteral("Get BG tile set file"), qtFileFilters(QString::fromUtf8(BG_FILTER)),
                                {});
    else
        path = host_.chooseFile(QStringLiteral("Get OBJ tile set file"),
                                qtFileFilters(QString::fromUtf8(OBJ_FILTER)), {});
    if (!path.isEmpty())
        setChosenFile(path);
}

void ImportTilesetDialog::setChosenFile(const QString& path)
{
    fileName_->setText(path);
    const std::optional<long long> tiles = countSourceTiles(path.toStdString(), format());
    if (!tiles) {
        notedPath_.clear();
        tiles_ = 0;
        host_.prompter->inform(MSG_INVALID_TILE_SOURCE);
        return;
    }
    notedPath_ = path;
    tiles_ = *tiles;
    to_->setText(QString::number(suggestedToTile(format(), tiles_)));
}

TileSourceFormat ImportTilesetDialog::format() const
{
    switch (type_->currentIndex()) {
    case 0:
        return TileSourceFormat::Binary;
    case 2:
        return TileSourceFormat::PngSheet;
    default:
        return TileSourceFormat::TileSetFile;
    }
}

TileSetImportRequest ImportTilesetDialog::request() const
{
    TileSetImportRequest r;
    r.path = fileName_->text().toStdString();
    r.target = obj_->isChecked() ? TILE_OBJ : TILE_BG;
    r.fromTile = from_->text().trimmed().toLongLong();
    r.toTile = to_->text().trimmed().toLongLong();
    return r;
}

void ImportTilesetDialog::accept()
{
    bool fromOk = false, toOk = false;
    const long long from = from_->text().trimmed().toLongLong(&fromOk);
    const long long to = to_->text().trimmed().toLongLong(&toOk);
    if (!fromOk || !toOk) {
        host_.prompter->inform("Please enter an integer.");
        (fromOk ? to_ : from_)->setFocus();
        return;
    }
    // A path typed by hand gets its tile count now.
    if (fileName_->text() != notedPath_) {
        tiles_ = countSourceTiles(fileName_->text().toStdString(), format()).value_or(0);
        notedPath_ = fileName_->text();
    }
    const TileRangeCheck check = checkTileImportRange(from, to, tiles_);
    if (!check.result) {
        host_.prompter->inform(check.result.text());
        if (check.focusToTile) {
            to_->setFocus();
            to_->selectAll();
        }
        return;
    }
    QDialog::accept();
}

} // namespace qm::ui
