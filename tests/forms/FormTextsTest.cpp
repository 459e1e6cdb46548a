#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <array>
#include <string>

using forms::NoticeForm;

namespace {

struct Row {
    const char* control;  // a control, or the form for its title
    std::string forms;    // tool tips: "both", "sound" or "television"
    std::array<const char*, 3> words;  // English, French, Spanish
};

// The texts as the users' three languages spell them, blanks, dashes and quotes included.
const Row kCaptionRows[] = {
    {"FmFrmT01M", "", {"T01-m      VHF Sound Broadcasting Station - Data Correction - ",
     "T01-M      Station de Radiodiffusion Sonore en VHF - Correcteur des données- ",
     "T01-m      Estación de Radiodifusión Sonora en VHF - Corrector de datos - "}},
    {"TvFrmT02M", "", {"T02-m      VHF/UHF Television Broadcasting Station - Data Correction - ",
     "T02-M      Station de Radiodiffusion Télévision VHF/UHF - Correcteur des données- ",
     "T02-m      VHF/UHF Estación de Radiodifusión de Televisión - Corrector de datos - "}},
    {"Lbl_DNtc", "", {"Date of Notification", "Date de Notification", "Fecha de Notificación"}},
    {"Lbl_AdmRefID", "", {"Administration's unique ID of the notice",
     "Id unique attribué par l'administration",
     "Identificador único de la notificación"}},
    {"Lbl_TrgAdmRefID", "", {"Administration's unique ID of the target",
     "Id unique attribué par l'administration",
     "Id. único otorgado por la Administración"}},
    {"Lbl_04C_Lat", "", {"      Latitude            N/S",
     "      Latitude            N/S",
     "      Latitud            N/S"}},
    {"Lbl_04C_Long", "", {"   Longitude       E/W", "   Longitude       E/W", "   Longitud       E/W"}},
    {"Lbl_11_CoordAdm", "", {"11 - Coordination successfully completed with the following administrations",
     "11 - Coordination effectuée avec succès avec les administrations suivantes",
     "11 - Coordinación efectuada con éxito con las administraciones siguientes"}},
    {"Lbl_4C_Lat", "", {"       Latitude             N/S",
     "       Latitude             N/S",
     "       Latitud             N/S"}},
    {"Lbl_4C_Long", "", {"Longitude        E/W", "Longitude        E/W", "Longitud        E/W"}},
    {"Lbl_10B_OphhFr", "", {"From (UTC)", "De (UTC)", "desde"}},
    {"Lbl_10B_OphhTo", "", {"To (UTC)", "A (UTC)", "hasta"}},
    {"Lbl_Filename", "", {"File name", "Nom du fichier", "Nombre del fichero"}},
    {"Lbl_Ntc_Number", "", {"Notice Number", "No. de fiche", "No. de Notificación"}},
    {"Lbl_Notified_Rmks", "", {"Notified remarks", "Remarques externes", "Comentarios adicionales"}},
    {"Lbl_Internal_Rmks", "", {"Internal remarks", "Remarques internes", "Comentarios internos"}},
    {"Frame_A11_Only", "", {" RR Article 11 Only ", " Article 11 (RR) uniquement", " RR Artículo 11 únicamente "}},
    {"FrameTrg", "", {" Identification of the Assignment to be: Modified, Suppressed or Withdrawn ",
     " Identification de l'assignation à modifier, supprimer ou retirer",
     " Identificación de la asignación a : Modificar, Suprimir o Retirar "}},
    {"Button_Finish", "", {"Delete", "Effacer", "Suprimir"}},
    {"Button_Next", "", {"Update", "Update", "Actualizar"}},
    {"Button_Reset", "", {"Close", "Fermer", "Cerrar"}},
    {"ChkValidate", "", {"Data validation (level 1)",
     "Validation de données (niveau 1)",
     "Validación de datos (nivel 1)"}},
};

const Row kToolTipRows[] = {
    {"Button_Finish", "both", {"Delete the Notice from the database",
     "Effacer la fiche de la base de donnée",
     "Suprimir la notificación de la base de datos"}},
    {"Button_Next", "both", {"Update the Notice changes in the database ",
     "Sauvegarder les mise à jour de la fiche",
     "Actualizar cambios en la base de datos"}},
    {"Button_Reset", "both", {"Close the screen", "Fermer l'écran", "Cerrar la pantalla"}},
    {"Txt_01A_TrgFreq", "both", {"Assigned frequency of the target",
     "Fréquence assignée de l'assignation à modifier, supprimer ou retirer",
     "Frecuencia asignada de la asignación a modificar/suprimir"}},
    {"Txt_B_Adm", "both", {"Notifying Administration",
     "Administration notificatrice",
     "Administración notificante”"}},
    {"Txt_1A_FreqAssgn", "both", {"Assigned frequency [MHz]",
     "Fréquence assignée [MHz]",
     "Frecuencia asignada [MHz]"}},
    {"Txt_1E_Lf", "television", {"Frequency offset, in terms of the line frequency",
     "Décalage de fréquence, en 1/12 de la fréquence de ligne",
     "Desplazamiento de frecuencia, en términos de la frecuencia de línea"}},
    {"Txt_1E_kHz", "television", {"Frequency offset, in kHz",
     "Décalage de fréquence, en kHz",
     "Desplazamiento de frecuencia (kHz)"}},
    {"Txt_3A1_CallSign", "both", {"Call sign", "Indicatif d'appel", "Distintivo de llamada"}},
    {"Txt_3A2_StationID", "both", {"Station identification",
     "Identification de la station",
     "Identificación de la estación"}},
    {"Txt_4A_SiteName", "both", {"Name of the location of the transmitting station",
     "Nom de l'emplacement de la station d'émission",
     "Nombre del emplazamiento de la estación transmisora"}},
    {"Txt_4B_GeoArea", "both", {"Country or geographical area",
     "Pays ou zone géographique",
     "País o zona geográfica"}},
    {"Txt_9EA_SiteAlt", "both", {"Altitude of site above sea level [m]",
     "Altitude de l'emplacement par rapport au niveau de la mer [m]",
     "Altitud del emplazamiento sobre el nivel del mar [m]"}},
    {"Txt_8BH_Erp_H", "both", {"Maximum effective radiated power (dBW) – Horizontal component",
     "Puissance apparente rayonnée maximale (dBW) – Composante horizontale",
     "Potencia radiada aparente máxima (dBW) (dBW) - Componente horizontal"}},
    {"Txt_8BV_Erp_V", "both", {"Maximum effective radiated power (dBW) – Vertical component",
     "Puissance apparente rayonnée maximale (dBW) – Composante verticale",
     "Potencia radiada aparente máxima (dBW) – Componente vertical"}},
    {"Txt_70_BDWdth", "sound", {"Necessary Bandwidth", "Largeur de bande nécessaire", "Anchura de banda necesaria"}},
    {"Txt_7D_TranSys", "sound", {"Tranmission system", "Système de transmission", "Sistema de transmisión"}},
    {"Txt_8D_Pwr_Ratio", "television", {"Vision/sound power ratio",
     "Rapport de puissance porteuse image/porteuse son",
     "Relación de potencias imagen/sonido"}},
    {"Txt_7C1_TvSys", "television", {"Television system", "Système de télévision", "Sistema de televisión"}},
    {"Txt_9E_AntHgt", "both", {"Height of antenna above ground level",
     "Hauteur d'antenne au-dessus du sol[m]",
     "Altura de la antena"}},
    {"Txt_9EB_Eff_hgtmax", "both", {"Maximum effective antenna height",
     "Hauteur d'antenne équivalente maximale [m]",
     "Altura efectiva máxima de la antena"}},
    {"Combo_7A1_FreqStabl", "television", {"Frequency stability for analogue television (RELAXED, NORMAL or PRECISION).",
     "Stabilité de fréquence",
     "Estabilidad de frecuencia"}},
    {"Combo_7C2_Color_Sys", "television", {"Colour system", "Système couleur", "Sistema de color"}},
    {"Combo_9_AntDir", "both", {"Directivity of the antenna",
     "Directivité de l'antenne",
     "Directividad de la antena"}},
    {"Combo_9D_Polariz", "both", {"Polarization", "Polarisation", "Polarización"}},
    {"Txt_12A_OpAgcy", "both", {"Code (three digits) of Operating administration or agency",
     "Code (trois digits) de l'Administration ou la compagine exploitante",
     "Símbolo (tres números) de la administración o entidad explotadora."}},
    {"Txt_12B_AddrCde", "both", {"Code (one character) of Postal and telegraphic addresses of the administration responsible for the station",
     "Adresses postale et télégraphique de l'administration dont relève la station (Symbole à un caractère)",
     "Símbolo (un carácter) de la Dirección postal y telegráfica de la administración responsable de la estación"}},
    {"Txt_10B_Ophhfr", "both", {"Regular hours (UTC) of operation [Start]",
     "Horaire normal (UTC) de fonctionnement [Début]",
     "Horario normal de funcionamiento (UTC) de la asignación de frecuencia [desde las]"}},
    {"Txt_10B_Ophhto", "both", {"Regular hours (UTC) of operation [End]",
     "Horaire normal (UTC) de fonctionnement [Fin]",
     "Horario normal de funcionamiento (UTC) de la asignación de frecuencia [a las]"}},
    {"Txt_2C_DD", "both", {"Date of bringing into use [Day]",
     "Date de mise en service [Jour]",
     "Fecha de puesta en servicio [Día]"}},
    {"Txt_2C_MM", "both", {"Date of bringing into use [Month]",
     "Date de mise en service [Mois]",
     "Fecha de puesta en servicio [Mes]"}},
    {"Txt_2C_YY", "both", {"Date of bringing into use [Year]",
     "Date de mise en service [Année]",
     "Fecha de puesta en servicio [Año]"}},
    {"Txt_Internal_Rmks", "both", {"Remarks indicated here are intended for internal use by the data processing operators only",
     "Les remarques indiquées ici sont destinées à l'usage interne des opérateurs de saisie des données",
     "Los comentarios indicados aquí son destinados a los operadores únicamente"}},
    {"Txt_notified_Rmks", "both", {"Remarks indicated in this textbox will be loaded to the database",
     "Les remarques indiquées dans ce champ seront insérées dans la base de données",
     "Los comentarios aquí indicados serán transferidos a la base de datos"}},
    {"Frame_9EC_EffAntHeight", "both", {"Effective antenna height at different azimuths",
     "Hauteur d'antenne équivalente à différents azimuts [m]",
     " Altura efectiva de la antena en distintos acimutes "}},
    {"Frame_9NH_AttnH", "both", {"Attenuation (dB) of the horizontally polarized component at different azimuths",
     "Affaiblissement (dB) de la composante à polarisation horizontale pour différents azimuts",
     "Atenuación (dB) de la componente con polarización horizontal en diferentes acimutes"}},
    {"Frame_9NV_AttnV", "both", {"Attenuation (dB) of the vertically polarized component at different azimuths",
     "Affaiblissement (dB) de la composante à polarisation verticale pour différents azimuts \"",
     "Atenuación (dB) de la componente con polarización vertical en diferentes acimutes"}},
};

const char kVersion[] = " ZEL Ostrel KOLV Analog Version 1.03 / 02.11.2005";

struct FormCase {
    int kind;
    const char* name;
    const char* form;  // the forms column that names this form alone
    int toolTips;
};

const FormCase kForms[] = {
    {forms::kTvForm, "TvFrmT02M", "television", 35},
    {forms::kSoundForm, "FmFrmT01M", "sound", 31},
};

std::string utf8(const QString& text)
{
    return text.toStdString();
}

bool isAzimuthBox(const QString& name)
{
    return name.startsWith("Txt_9EC_azm") || name.startsWith("Txt_9NHAzm") || name.startsWith("Txt_9NVAzm");
}

}  // namespace

TEST(FormTexts, EveryCaptionAndToolTipIsItsLanguagesTextByteForByte)
{
    for (const FormCase& c : kForms) {
        for (int id = 0; id <= 3; ++id) {
            const std::size_t column = id == 1 ? 1 : id == 2 ? 2 : 0;  // 3 is not a language: English
            auto form = forms::loadNtcForm(c.kind, static_cast<app::Language>(id));
            SCOPED_TRACE(std::string(c.name) + " in language " + std::to_string(id));
            for (const Row& row : kCaptionRows) {
                const std::string name = row.control;
                if (name == c.name) {
                    EXPECT_EQ(utf8(form->windowTitle()), std::string(row.words[column]) + kVersion);
                } else if (name != "FmFrmT01M" && name != "TvFrmT02M") {
                    EXPECT_EQ(utf8(forms::captionOf(form->control(name))), row.words[column]) << name;
                }
            }
            int set = 0;
            for (const Row& row : kToolTipRows) {
                QWidget* w = form->control(row.control);
                if (row.forms != "both" && row.forms != c.form) {
                    EXPECT_EQ(w, nullptr) << row.control;
                    continue;
                }
                ASSERT_NE(w, nullptr) << row.control;
                EXPECT_EQ(utf8(w->toolTip()), row.words[column]) << row.control;
                ++set;
            }
            EXPECT_EQ(set, c.toolTips);
            // No other control has a tool tip but the azimuth boxes' design-time ones.
            int withToolTip = 0;
            for (QWidget* w : form->findChildren<QWidget*>())
                if (!w->toolTip().isEmpty() && !isAzimuthBox(w->objectName()))
                    ++withToolTip;
            EXPECT_EQ(withToolTip, c.toolTips);
            EXPECT_TRUE(form->control("ChkClearFields")->isHidden());
        }
    }
}

TEST(FormTexts, ControlsNoRowNamesKeepTheirDesignTimeTexts)
{
    const std::pair<const char*, const char*> kept[] = {
        {"Button_Next_Ntc", ">>"}, {"Button_Prev_Ntc", "<<"}, {"OptFrg_A11", "Art. 11"}, {"OptFrg_St61", "ST61"},
        {"OptInt_Add", "Add"}, {"OptInt_Mod", "Mod"}, {"OptInt_Sup", "Sup"}, {"OptInt_Wdraw", "Withdraw"},
        {"Lbl_B_Adm", "B"}, {"Lbl_01A_TrgFreq", "0-1A"}, {"Lbl_FreqUnit", "[MHz]"}, {"Lbl_9E_unit", "[m]"},
        {"Frame_9EC_EffAntHeight", " 9EC "}, {"Frame_9NH_AttnH", " 9NH "}, {"Frame_9NV_AttnV", " 9NV "},
    };
    for (const FormCase& c : kForms)
        for (int id = 0; id <= 2; ++id) {
            auto form = forms::loadNtcForm(c.kind, static_cast<app::Language>(id));
            for (const auto& [name, text] : kept)
                EXPECT_EQ(utf8(forms::captionOf(form->control(name))), text) << name;
            EXPECT_TRUE(form->control("ChkValidate")->toolTip().isEmpty());
        }
    auto tv = forms::loadNtcForm(forms::kTvForm, app::Language::French);
    EXPECT_EQ(utf8(forms::captionOf(tv->control("Lbl_1E_kHz_Sign"))), "  or ");
    EXPECT_EQ(utf8(forms::captionOf(tv->control("OptFrg_Ge89"))), "GE89");
    auto sound = forms::loadNtcForm(forms::kSoundForm, app::Language::Spanish);
    EXPECT_EQ(utf8(forms::captionOf(sound->control("OptFrg_Ge84"))), "GE84");
    EXPECT_EQ(utf8(forms::captionOf(sound->control("Lbl_7A0_BDWdth_unit"))), "kHz");
}

// The blank runs, dashes and quotes that plain text hides.
TEST(FormTexts, BlankRunsDashesAndQuotesStandAsWritten)
{
    struct Rule {
        const char* control;  // "" for the title
        bool toolTip;
        int language;  // -1 for every language
        const char* pattern;
    };
    const Rule rules[] = {
        {"", false, -1, "^T0[12]-[mM] {6}\\S.*\\S  ZEL Ostrel"},
        {"Lbl_04C_Lat", false, -1, "^ {6}Latitude? {12}N/S$"},
        {"Lbl_04C_Long", false, -1, "^ {3}Longitude? {7}E/W$"},
        {"Lbl_4C_Lat", false, -1, "^ {7}Latitude? {13}N/S$"},
        {"Lbl_4C_Long", false, -1, "^Longitude? {8}E/W$"},
        {"Frame_A11_Only", false, -1, "^ \\S"},
        {"FrameTrg", false, -1, "^ \\S"},
        {"Frame_A11_Only", false, 0, "\\S $"},
        {"FrameTrg", false, 2, "\\S $"},
        {"Button_Next", true, 0, "\\S $"},
        {"Frame_9EC_EffAntHeight", true, 2, "^ \\S.*\\S $"},
        {"Txt_8BH_Erp_H", true, 0, "\\(dBW\\) \u2013 Horizontal"},
        {"Txt_8BH_Erp_H", true, 1, "\\(dBW\\) \u2013 Composante"},
        {"Txt_8BH_Erp_H", true, 2, "\\(dBW\\) \\(dBW\\) - Componente"},
        {"Txt_8BV_Erp_V", true, -1, "\\(dBW\\) \u2013 \\S"},
        {"Txt_B_Adm", true, 2, "notificante\u201d$"},
        {"Frame_9NV_AttnV", true, 1, "azimuts \"$"},
        {"Button_Next", false, 1, "^Update$"},
        {"Button_Next", true, 1, "^Sauvegarder"},
    };
    for (const FormCase& c : kForms)
        for (int id = 0; id <= 2; ++id) {
            auto form = forms::loadNtcForm(c.kind, static_cast<app::Language>(id));
            for (const Rule& r : rules) {
                if (r.language != -1 && r.language != id)
                    continue;
                QWidget* w = *r.control ? form->control(r.control) : form.get();
                const QString text = !*r.control ? form->windowTitle()
                                     : r.toolTip  ? w->toolTip()
                                                  : forms::captionOf(w);
                EXPECT_TRUE(QRegularExpression(QString::fromUtf8(r.pattern)).match(text).hasMatch())
                    << r.control << " in language " << id << ": \"" << utf8(text) << "\"";
            }
        }
}
