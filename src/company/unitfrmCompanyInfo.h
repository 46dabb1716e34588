#pragma once
// The company screen: the business's profile, taxes, payment terms, foot notes,
// deposit and validity rules, document colours, printed columns, licences,
// signature band, e-mail settings, logo and the planner settings. It is filled
// from the settings in memory and saves the four settings tables in one go.
#include "db/unitRecordVersion.h"

#include <QDialog>
#include <QImage>
#include <array>
#include <cstdint>

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolBar;
class TCompanyEInvoicePage;
class TLimitedMemo;
class TLineLimitedMemo;
struct TCompanySettings;

class TfrmCompanyInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCompanyInfo(QWidget* parent = nullptr);
    ~TfrmCompanyInfo() override;

    // The close question runs on every way of closing.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pBuildCompanyPage();
    void pBuildTaxPage();
    void pBuildInvoicePage();
    void pBuildColorPage();
    void pBuildDescriptionPage();
    void pBuildGeneralPage();
    void pBuildEmailPage();
    void pBuildPlannerPage();
    void pConnectChanges();

    void pFormShow();
    void pShowFormInformation();
    void pLoadPlannerSettings();
    void pEnableSavebtn();
    void pSetSaveEnabled(bool enabled);
    bool pSaveEnabled() const;

    void pSetToNumber(QLineEdit* box);
    void pSetEmailSubject();
    void pTermTextChanged();
    void pTermClicked();
    void pTermChosenByKey(int row);
    void pAddOrChangeTerm();
    void pRemoveTerm();
    void pCancelTerm();
    void pResetTermEditing();
    void pShowNumOfPmtTerms();
    void pSetInvoiceDescription();

    // Opens the colour picker on `initial`; true with the chosen colour on OK.
    bool pPickColor(std::uint32_t initial, std::uint32_t& chosen);
    void pChooseTypeColor(int type);
    void pChooseAllTypesColor();
    void pShowTypeColor(int type);

    void pGetTheLogo();
    void pBrowseForLogo();
    void pRemoveLogo();
    void pSelectLogoSize();
    void pShowLogoState(bool present);

    // Validation, then one save of everything; true when saved.
    bool pSaveCompInfo();
    TCompanySettings pSettingsOnScreen() const;

    QToolBar* m_toolBar = nullptr;
    QAction* m_actClose = nullptr;
    QAction* m_actSave = nullptr;
    QAction* m_actHelp = nullptr;
    QTabWidget* ppnlCompanyInfo = nullptr;
    QWidget* m_pageCompany = nullptr;
    QWidget* m_pageTax = nullptr;
    QWidget* m_pageEmail = nullptr;

    // Company
    QLineEdit* txtCompName = nullptr;
    QLineEdit* txtCompAddress = nullptr;
    QLineEdit* txtCompCity = nullptr;
    QLineEdit* txtCompState = nullptr;
    QLineEdit* txtCompZipCode = nullptr;
    QLineEdit* txtCompPhoneNumber = nullptr;
    QLineEdit* txtCompFaxNumber = nullptr;
    QLabel* lblLogo = nullptr;
    QLabel* imgLogo = nullptr;
    QLabel* imgLogoSmall = nullptr;
    QLabel* lblBrowseForLogo = nullptr;
    QPushButton* btnBrowseForLogo = nullptr;
    QPushButton* btnRemoveLogo = nullptr;
    QRadioButton* rbtnSmallLogo = nullptr;
    QRadioButton* rbtnLargeLogo = nullptr;

    // Tax
    std::array<QLineEdit*, 3> txtTaxName{};
    std::array<QLineEdit*, 3> txtTax{};
    std::array<QLabel*, 3> lblTaxNameHelp{};
    std::array<QLabel*, 3> lblTaxAmountHelp{};

    // Invoice
    QListWidget* lstPmtTerms = nullptr;
    QLineEdit* txtPmtTerm = nullptr;
    QPushButton* btnAddPmtTerms = nullptr;
    QPushButton* btnRemovePmtTerms = nullptr;
    QPushButton* btnCancelPmtTerms = nullptr;
    QLabel* Label5 = nullptr;
    std::array<TLineLimitedMemo*, 3> txtFtNote{};
    QSpinBox* spinEditNumEstDays = nullptr;
    QSpinBox* spinEditDepPercent = nullptr;

    // Invoice Color: index 1 to 6 by document type
    std::array<QLabel*, 7> lblTypeSample{};
    std::array<QFrame*, 7> shpTypeSample{};
    std::array<QPushButton*, 7> btnTypeColor{};
    QPushButton* btnAllInvTypColor = nullptr;

    // Invoice Description
    QLabel* lblQuantityDisc = nullptr;
    QLabel* lblPriceEachDisc = nullptr;
    QLabel* lblTotalDisc = nullptr;
    std::array<QLabel*, 3> lblPreviewLine1{};
    std::array<QLabel*, 3> lblPreviewLine2{};
    QCheckBox* ckbxQuantity = nullptr;
    QCheckBox* ckbxPriceEach = nullptr;
    QCheckBox* ckbxTotal = nullptr;
    QCheckBox* ckbxShowTotalonWO = nullptr;

    // General
    std::array<QLineEdit*, 3> txtCompLicenseName{};
    std::array<QLineEdit*, 3> txtCompLicenseNumber{};
    QPushButton* btnOpenContractWriter = nullptr;
    QPushButton* btnOpenWarrantyWriter = nullptr;
    TLineLimitedMemo* txtAcceptanceInfo = nullptr;
    QFrame* ShapeAcceptance = nullptr;
    QPushButton* btnAcceptanceColor = nullptr;

    // Email
    QRadioButton* rbtnSubjectUseInvNameNum = nullptr;
    QRadioButton* rbtnSubjectPreFill = nullptr;
    QLineEdit* txtCompEmailSubject = nullptr;
    TLimitedMemo* txtCompEmailBody = nullptr;
    QLabel* lblEmailPreFillInfo = nullptr;
    QLineEdit* txtCompEmailAddress = nullptr;
    QLineEdit* txtCompWebAddress = nullptr;
    QLineEdit* txtCompEmailHost = nullptr;
    QLineEdit* txtCompEmailPort = nullptr;
    QLineEdit* txtCompEmailLogin = nullptr;
    QLineEdit* txtCompEmailPassword = nullptr;
    QCheckBox* ckbxShowPassword = nullptr;

    // Planner
    QRadioButton* rbtnDontRemove = nullptr;
    QRadioButton* rbtn1Day = nullptr;
    QRadioButton* rbtn30Day = nullptr;
    QRadioButton* rbtn1Year = nullptr;
    QButtonGroup* m_removeGroup = nullptr;
    QRadioButton* rbtnDayPlanner = nullptr;
    QRadioButton* rbtnWeekPlanner = nullptr;
    QRadioButton* rbtnMonthPlanner = nullptr;
    QButtonGroup* m_plannerGroup = nullptr;

    // E-Invoice
    TCompanyEInvoicePage* m_pageEInvoice = nullptr;
    QFrame* ShapeWeekendActivityEdit = nullptr;
    QFrame* ShapeActivityActivityEdit = nullptr;
    QFrame* ShapeHighActivityEdit = nullptr;
    QPushButton* btnWeekendColor = nullptr;
    QPushButton* btnActivityColor = nullptr;
    QPushButton* btnPriorityColor = nullptr;

    // Screen state
    int m_selectedTerm = -1;
    bool m_logoChanged = false;
    bool m_saved = true;
    bool m_shownOnce = false;
    // The settings as read when the screen opened: the save is refused when
    // another seat changed them since.
    TRecordVersion m_opened;
    bool m_readFailed = false;   // the stored values could not be read: nothing is ever saved
    QImage m_logo;   // the picture in the preview; null when there is none
    std::array<std::uint32_t, 7> m_typeColors{};
    std::uint32_t m_accptColor = 0;
    std::uint32_t m_actColor = 0;
    std::uint32_t m_wkndColor = 0;
    std::uint32_t m_priorityColor = 0;
};
