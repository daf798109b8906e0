#include "ui/app/ProjectDialogs.h"

#include "ui/app/DialogFolder.h"
#include "ui/app/QtPrompter.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace qm::ui {

namespace {

const char* PROJECT_OPEN_FILTER = "Quilt Mark(*.qmm;*.qmd)|*.qmm;*.qmd|";
const char* BG_OPEN_FILTER = "BG Tileset (*.qmb;*.bts)|*.qmb;*.bts|";
const char* OBJ_OPEN_FILTER = "OBJ Tileset (*.qmo;*.ots)|*.qmo;*.ots|";
const char* BG_SAVE_FILTER = "BG Tileset(*.qmb;*.bts)|*.qmb;*.bts|";
const char* PROJECT_TITLE = "Get Quilt Mark file name";
const char* BG_TITLE = "Get Background tileset file name";
const char* OBJ_TITLE = "Get object tileset file name";

// The next dialog (and "LastPath") starts where a file was chosen.
QString remember(const QString& chosen)
{
    return rememberDialogFile(chosen);
}

QString openFileName(QWidget* parent, const char* title, const char* filter)
{
    return remember(QFileDialog::getOpenFileName(parent, QString::fromLatin1(title), dialogFolder(),
                                                 qtFileFilters(QString::fromLatin1(filter))));
}

QString saveFileName(QWidget* parent, const char* title, const char* filter, const QString& current,
                     const char* suffix)
{
    QFileDialog dialog(parent, QString::fromLatin1(title), current.isEmpty() ? dialogFolder() : current,
                       qtFileFilters(QString::fromLatin1(filter)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromLatin1(suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return remember(dialog.selectedFiles().constFirst());
}

QLineEdit* addPathRow(QWidget* owner, QGridLayout* grid, int row, const char* label,
                      std::function<QString(const QString&)> browse)
{
    auto* edit = new QLineEdit(owner);
    edit->setMinimumWidth(320);
    auto* button = new QPushButton(QStringLiteral("...."), owner);
    button->setFixedWidth(44);
    auto* text = new QLabel(QString::fromLatin1(label), owner);
    text->setBuddy(edit);
    grid->addWidget(text, row, 0);
    grid->addWidget(edit, row, 1, 1, 2);
    grid->addWidget(button, row, 3);
    QObject::connect(button, &QPushButton::clicked, owner, [edit, browse] {
        const QString chosen = browse(edit->text());
        if (!chosen.isEmpty())
            edit->setText(QDir::toNativeSeparators(chosen));
    });
    return edit;
}

// The project keeps full paths.
std::string fullPath(const QString& typed)
{
    return toCorePath(absoluteInDialogFolder(typed));
}

void refuse(QWidget* parent, const char* text, QLineEdit* field)
{
    QMessageBox::information(parent, applicationTitle(), QString::fromLatin1(text));
    field->setFocus();
    field->selectAll();
}

} // namespace

QString qtFileFilters(const QString& windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        if (name.isEmpty())
            break;
        const int open = name.indexOf(QLatin1Char('('));
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        patterns = patterns.simplified();
        if (open >= 0)
            name = name.left(open).trimmed();
        filters << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}


// ---- New Project ----------------------------------------------------------

NewProjectDialog::NewProjectDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("New Project"));
    auto* grid = new QGridLayout;
    project_ = addPathRow(this, grid, 0, "Map Name   :",
                          [this](const QString&) { return openFileName(this, PROJECT_TITLE, PROJECT_OPEN_FILTER); });
    bg_ = addPathRow(this, grid, 1, "BG Tile Set  :",
                     [this](const QString&) { return openFileName(this, BG_TITLE, BG_OPEN_FILTER); });
    obj_ = addPathRow(this, grid, 2, "OBJ Tile Set :",
                      [this](const QString&) { return openFileName(this, OBJ_TITLE, OBJ_OPEN_FILTER); });

    auto sizeRow = [this, grid](int row, const char* label, int value) {
        auto* edit = new QLineEdit(QString::number(value), this);
        edit->setFixedWidth(60);
        auto* text = new QLabel(QString::fromLatin1(label), this);
        text->setBuddy(edit);
        auto* box = new QHBoxLayout;
        box->addWidget(edit);
        box->addWidget(new QLabel(QStringLiteral("tiles"), this));
        box->addStretch(1);
        grid->addWidget(text, row, 0);
        grid->addLayout(box, row, 1, 1, 3);
        return edit;
    };
    width_ = sizeRow(3, "Map Width :", DEFAULT_MAP_WIDTH);
    height_ = sizeRow(4, "Map Height :", DEFAULT_MAP_HEIGHT);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &NewProjectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NewProjectDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void NewProjectDialog::setFields(const QString& project, const QString& bg, const QString& obj,
                                 const QString& width, const QString& height)
{
    project_->setText(project);
    bg_->setText(bg);
    obj_->setText(obj);
    width_->setText(width);
    height_->setText(height);
}

void NewProjectDialog::accept()
{
    for (QLineEdit* field : {width_, height_}) {
        bool ok = false;
        const uint value = field->text().trimmed().toUInt(&ok);
        if (!ok || value > uint(1) << 30) {
            refuse(this, "Please enter a positive integer.", field);
            return;
        }
    }
    QDialog::accept();
}

NewProjectRequest NewProjectDialog::request() const
{
    NewProjectRequest r;
    r.projectPath = fullPath(project_->text());
    r.bgTileSetPath = fullPath(bg_->text());
    r.objTileSetPath = fullPath(obj_->text());
    r.width = static_cast<int>(width_->text().trimmed().toUInt());
    r.height = static_cast<int>(height_->text().trimmed().toUInt());
    return r;
}

// ---- Save Project ---------------------------------------------------------

SaveProjectDialog::SaveProjectDialog(const SavePaths& current, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Save Project"));
    auto* grid = new QGridLayout;
    project_ = addPathRow(this, grid, 0, "Map Name   :", [this](const QString& now) {
        return saveFileName(this, PROJECT_TITLE, PROJECT_OPEN_FILTER, now, "qmm");
    });
    bg_ = addPathRow(this, grid, 1, "BG Tile Set  :", [this](const QString& now) {
        return saveFileName(this, BG_TITLE, BG_SAVE_FILTER, now, "qmb");
    });
    obj_ = addPathRow(this, grid, 2, "OBJ Tile Set :", [this](const QString& now) {
        return saveFileName(this, OBJ_TITLE, OBJ_OPEN_FILTER, now, "qmo");
    });
    project_->setText(fromCorePath(current.projectPath));
    bg_->setText(fromCorePath(current.bgTileSetPath));
    obj_->setText(fromCorePath(current.objTileSetPath));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SaveProjectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SaveProjectDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

SavePaths SaveProjectDialog::paths() const
{
    return SavePaths{fullPath(project_->text()), fullPath(bg_->text()), fullPath(obj_->text())};
}

// ---- Map Properties -------------------------------------------------------

MapPropertiesDialog::MapPropertiesDialog(const ProjectState& state, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Map Properties"));
    auto* grid = new QGridLayout;
    const auto shown = [this](const std::string& path) {
        auto* label = new QLabel(fromCorePath(path), this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setMinimumWidth(280);
        return label;
    };
    grid->addWidget(new QLabel(QStringLiteral("Map              :"), this), 0, 0);
    grid->addWidget(shown(state.projectPath), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral(" BG Tile Set   :"), this), 1, 0);
    grid->addWidget(shown(state.bgTileSetPath), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral(" OBJ Tile Set :"), this), 2, 0);
    grid->addWidget(shown(state.objTileSetPath), 2, 1);
    width_ = new QLineEdit(QString::number(state.map.width), this);
    height_ = new QLineEdit(QString::number(state.map.height), this);
    width_->setFixedWidth(60);
    height_->setFixedWidth(60);
    grid->addWidget(new QLabel(QStringLiteral("Map Width    :"), this), 3, 0);
    grid->addWidget(width_, 3, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Map Height   :"), this), 4, 0);
    grid->addWidget(height_, 4, 1, Qt::AlignLeft);

    // One OK button; closing the window any other way cancels.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &MapPropertiesDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void MapPropertiesDialog::setSizeFields(const QString& width, const QString& height)
{
    width_->setText(width);
    height_->setText(height);
}

void MapPropertiesDialog::accept()
{
    for (QLineEdit* field : {width_, height_}) {
        bool ok = false;
        const int value = field->text().trimmed().toInt(&ok);
        if (!ok) {
            refuse(this, "Please enter an integer.", field);
            return;
        }
        if (value < 0) {
            refuse(this, "Please enter a positive integer.", field);
            return;
        }
    }
    QDialog::accept();
}

QSize MapPropertiesDialog::mapSize() const
{
    return QSize(width_->text().trimmed().toInt(), height_->text().trimmed().toInt());
}

// ---- tile set locator -----------------------------------------------------

LocateTileSetDialog::LocateTileSetDialog(TileKind kind, const QString& oldPath, QWidget* parent) : QDialog(parent)
{
    const bool bg = kind != TILE_OBJ;
    setWindowTitle(bg ? QStringLiteral("Locate BG tile set(*.qmb) file")
                      : QStringLiteral("Locate OBJ tile set(*.qmo) file"));
    auto* grid = new QGridLayout;
    const char* filter = bg ? "BG Tileset(*.qmb;*.bts)|*.qmb; *.bts|;" : "OBJ Tileset(*.qmo;*.ots)|*.qmo; *.ots|";
    path_ = addPathRow(this, grid, 0, bg ? "BG tile set :" : "OBJ tile set :",
                       [this, filter](const QString&) { return openFileName(this, OBJ_TITLE, filter); });
    path_->setText(oldPath);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &LocateTileSetDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LocateTileSetDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

QString LocateTileSetDialog::path() const
{
    return fromCorePath(fullPath(path_->text()));
}

// ---- the real host --------------------------------------------------------

std::optional<NewProjectRequest> QtProjectDialogs::askNewProject(QWidget* parent)
{
    NewProjectDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.request();
}

std::optional<SavePaths> QtProjectDialogs::askSaveProject(QWidget* parent, const SavePaths& current)
{
    SaveProjectDialog dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.paths();
}

std::optional<QSize> QtProjectDialogs::askMapProperties(QWidget* parent, const ProjectState& state)
{
    MapPropertiesDialog dialog(state, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.mapSize();
}

std::optional<QString> QtProjectDialogs::askOpenProject(QWidget* parent)
{
    const QString chosen =
        QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), dialogFolder(),
                                     qtFileFilters(QStringLiteral("Quilt Mark File (*.qmm;*.qmd)|*.qmm;*.qmd|")));
    if (chosen.isEmpty())
        return std::nullopt;
    return remember(chosen);
}

} // namespace qm::ui
