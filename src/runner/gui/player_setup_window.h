#pragma once

#include "base/codepage.h"
#include "runner/player_setup.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace zev {

// "Player character Setup": every control writes through to the model as it is edited; only OK
// lets the caller apply the model.
class PlayerSetupWindow : public QDialog {
    Q_OBJECT

public:
    PlayerSetupWindow(PlayerSetupModel& model, TextEncoding encoding, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return m_name; }
    QComboBox* genderBox() const { return m_gender; }
    QSpinBox* ageSpin() const { return m_age; }
    QSpinBox* attributeSpin(int i) const { return m_attributes[static_cast<std::size_t>(i)]; }
    QSpinBox* moneySpin() const { return m_money; }
    QTableWidget* skillsGrid() const { return m_skills; }
    QLabel* gridMessage() const { return m_gridMessage; }

private:
    QWidget* BuildCharacter();
    QWidget* BuildSkills();
    void SkillEdited(int row, int column);

    PlayerSetupModel& m_model;
    TextEncoding m_encoding;
    bool m_filling = false;
    QLineEdit* m_name = nullptr;
    QComboBox* m_gender = nullptr;
    QSpinBox* m_age = nullptr;
    std::array<QSpinBox*, PlayerSetupModel::kAttributeCount> m_attributes {};
    QSpinBox* m_money = nullptr;
    QTableWidget* m_skills = nullptr;
    QLabel* m_gridMessage = nullptr;
};

class QtPlayerSetupView : public PlayerSetupView {
public:
    QtPlayerSetupView(TextEncoding encoding, QWidget* parent)
        : m_encoding(encoding)
        , m_parent(parent)
    {
    }
    bool exec(PlayerSetupModel& model) override;

private:
    TextEncoding m_encoding;
    QWidget* m_parent;
};

} // namespace zev
