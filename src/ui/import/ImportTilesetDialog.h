#pragma once
// The "Import Tileset" dialog: the source file and its type, the target set
// (BG or OBJ) and the range of source tiles to copy.

#include "core/import/TileSetImport.h"

#include <QDialog>

#include <cstdint>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace qm::ui {

struct CommandHost;

inline constexpr const char* TILE_TYPE_BINARY = "Binary 8x8 Tile (*.bin)";
inline constexpr const char* TILE_TYPE_TILESET = "Quilt mark tile set (*.qmb;*.bts;*.qmo;*ots)";
inline constexpr const char* TILE_TYPE_SHEET = "PNG tile sheet (*.png)";

class ImportTilesetDialog : public QDialog {
    Q_OBJECT
public:
    // startKind: TILE_OBJ starts the choice at OBJ, anything else at BG.
    ImportTilesetDialog(const CommandHost& host, int startKind, QWidget* parent = nullptr);

    QLineEdit* fileName() const { return fileName_; }
    QComboBox* type() const { return type_; }
    QRadioButton* bg() const { return bg_; }
    QRadioButton* obj() const { return obj_; }
    QLineEdit* fromTile() const { return from_; }
    QLineEdit* toTile() const { return to_; }

    // The "..." button: the file dialog by type and kind.
    void browse();
    // A file was chosen: fills "Filename :", notes its tile count and presets "To Tile :".
    void setChosenFile(const QString& path);
    // What OK asks for; valid after the dialog was accepted.
    TileSetImportRequest request() const;
    // The checks of OK, in their order; the dialog stays open on a refusal.
    void accept() override;

private:
    const CommandHost& host_;
    QLineEdit* fileName_;
    QComboBox* type_;
    QRadioButton* bg_;
    QRadioButton* obj_;
    QLineEdit* from_;
    QLineEdit* to_;
    TileSourceFormat format() const;

    QString notedPath_;
    long long tiles_ = 0;
};

} // namespace qm::ui
