#include "FormTexts.h"

#include "NoticeForm.h"

#include <QWidget>

namespace forms {
namespace {

// Which form sets a tool tip.
enum class On { Both, Sound, Television };

struct ToolTip {
    On on;
    app::Text text;
};

// The texts keep their blank runs, dashes and quotes exactly.
const app::Text kTitles[] = {
    {"FmFrmT01M",
     {"T01-m      VHF Sound Broadcasting Station - Data Correction - ",
      "T01-M      Station de Radiodiffusion Sonore en VHF - Correcteur des données- ",
      "T01-m      Estación de Radiodifusión Sonora en VHF - Corrector de datos - "}},
    {"TvFrmT02M",
     {"T02-m      VHF/UHF Television Broadcasting Station - Data Correction - ",
      "T02-M      Station de Radiodiffusion Télévision VHF/UHF - Correcteur des données- ",
      "T02-m      VHF/UHF Estación de Radiodifusión de Televisión - Corrector de datos - "}},
};

const app::Text kCaptions[] = {
    {"Lbl_DNtc",
     {"Date of Notification", "Date de Notification", "Fecha de Notificación"}},
    {"Lbl_AdmRefID",
     {"Administration's unique ID of the notice", "Id unique attribué par l'administration", "Identificador único de la notificación"}},
    {"Lbl_TrgAdmRefID",
     {"Administration's unique ID of the target", "Id unique attribué par l'administration", "Id. único otorgado por la Administración"}},
    {"Lbl_04C_Lat",
     {"      Latitude            N/S", "      Latitude            N/S", "      Latitud            N/S"}},
    {"Lbl_04C_Long",
     {"   Longitude       E/W", "   Longitude       E/W", "   Longitud       E/W"}},
    {"Lbl_11_CoordAdm",
     {"11 - Coordination successfully completed with the following administrations", "11 - Coordination effectuée avec succès avec les administrations suivantes", "11 - Coordinación efectuada con éxito con las administraciones siguientes"}},
    {"Lbl_4C_Lat",
     {"       Latitude             N/S", "       Latitude             N/S", "       Latitud             N/S"}},
    {"Lbl_4C_Long",
     {"Longitude        E/W", "Longitude        E/W", "Longitud        E/W"}},
    {"Lbl_10B_OphhFr",
     {"From (UTC)", "De (UTC)", "desde"}},
    {"Lbl_10B_OphhTo",
     {"To (UTC)", "A (UTC)", "hasta"}},
    {"Lbl_Filename",
     {"File name", "Nom du fichier", "Nombre del fichero"}},
    {"Lbl_Ntc_Number",
     {"Notice Number", "No. de fiche", "No. de Notificación"}},
    {"Lbl_Notified_Rmks",
     {"Notified remarks", "Remarques externes", "Comentarios adicionales"}},
    {"Lbl_Internal_Rmks",
     {"Internal remarks", "Remarques internes", "Comentarios internos"}},
    {"Frame_A11_Only",
     {" RR Article 11 Only ", " Article 11 (RR) uniquement", " RR Artículo 11 únicamente "}},
    {"FrameTrg",
     {" Identification of the Assignment to be: Modified, Suppressed or Withdrawn ", " Identification de l'assignation à modifier, supprimer ou retirer", " Identificación de la asignación a : Modificar, Suprimir o Retirar "}},
    {"Button_Finish",
     {"Delete", "Effacer", "Suprimir"}},
    {"Button_Next",
     {"Update", "Update", "Actualizar"}},
    {"Button_Reset",
     {"Close", "Fermer", "Cerrar"}},
    {"ChkValidate",
     {"Data validation (level 1)", "Validation de données (niveau 1)", "Validación de datos (nivel 1)"}},
};

const ToolTip kToolTips[] = {
    {On::Both, {"Button_Finish",
     {"Delete the Notice from the database",
      "Effacer la fiche de la base de donnée",
      "Suprimir la notificación de la base de datos"}}},
    {On::Both, {"Button_Next",
     {"Update the Notice changes in the database ",
      "Sauvegarder les mise à jour de la fiche",
      "Actualizar cambios en la base de datos"}}},
    {On::Both, {"Button_Reset",
     {"Close the screen",
      "Fermer l'écran",
      "Cerrar la pantalla"}}},
    {On::Both, {"Txt_01A_TrgFreq",
     {"Assigned frequency of the target",
      "Fréquence assignée de l'assignation à modifier, supprimer ou retirer",
      "Frecuencia asignada de la asignación a modificar/suprimir"}}},
    {On::Both, {"Txt_B_Adm",
     {"Notifying Administration",
      "Administration notificatrice",
      "Administración notificante”"}}},
    {On::Both, {"Txt_1A_FreqAssgn",
     {"Assigned frequency [MHz]",
      "Fréquence assignée [MHz]",
      "Frecuencia asignada [MHz]"}}},
    {On::Television, {"Txt_1E_Lf",
     {"Frequency offset, in terms of the line frequency",
      "Décalage de fréquence, en 1/12 de la fréquence de ligne",
      "Desplazamiento de frecuencia, en términos de la frecuencia de línea"}}},
    {On::Television, {"Txt_1E_kHz",
     {"Frequency offset, in kHz",
      "Décalage de fréquence, en kHz",
      "Desplazamiento de frecuencia (kHz)"}}},
    {On::Both, {"Txt_3A1_CallSign",
     {"Call sign",
      "Indicatif d'appel",
      "Distintivo de llamada"}}},
    {On::Both, {"Txt_3A2_StationID",
     {"Station identification",
      "Identification de la station",
      "Identificación de la estación"}}},
    {On::Both, {"Txt_4A_SiteName",
     {"Name of the location of the transmitting station",
      "Nom de l'emplacement de la station d'émission",
      "Nombre del emplazamiento de la estación transmisora"}}},
    {On::Both, {"Txt_4B_GeoArea",
     {"Country or geographical area",
      "Pays ou zone géographique",
      "País o zona geográfica"}}},
    {On::Both, {"Txt_9EA_SiteAlt",
     {"Altitude of site above sea level [m]",
      "Altitude de l'emplacement par rapport au niveau de la mer [m]",
      "Altitud del emplazamiento sobre el nivel del mar [m]"}}},
    {On::Both, {"Txt_8BH_Erp_H",
     {"Maximum effective radiated power (dBW) – Horizontal component",
      "Puissance apparente rayonnée maximale (dBW) – Composante horizontale",
      "Potencia radiada aparente máxima (dBW) (dBW) - Componente horizontal"}}},
    {On::Both, {"Txt_8BV_Erp_V",
     {"Maximum effective radiated power (dBW) – Vertical component",
      "Puissance apparente rayonnée maximale (dBW) – Composante verticale",
      "Potencia radiada aparente máxima (dBW) – Componente vertical"}}},
    {On::Sound, {"Txt_70_BDWdth",
     {"Necessary Bandwidth",
      "Largeur de bande nécessaire",
      "Anchura de banda necesaria"}}},
    {On::Sound, {"Txt_7D_TranSys",
     {"Tranmission system",
      "Système de transmission",
      "Sistema de transmisión"}}},
    {On::Television, {"Txt_8D_Pwr_Ratio",
     {"Vision/sound power ratio",
      "Rapport de puissance porteuse image/porteuse son",
      "Relación de potencias imagen/sonido"}}},
    {On::Television, {"Txt_7C1_TvSys",
     {"Television system",
      "Système de télévision",
      "Sistema de televisión"}}},
    {On::Both, {"Txt_9E_AntHgt",
     {"Height of antenna above ground level",
      "Hauteur d'antenne au-dessus du sol[m]",
      "Altura de la antena"}}},
    {On::Both, {"Txt_9EB_Eff_hgtmax",
     {"Maximum effective antenna height",
      "Hauteur d'antenne équivalente maximale [m]",
      "Altura efectiva máxima de la antena"}}},
    {On::Television, {"Combo_7A1_FreqStabl",
     {"Frequency stability for analogue television (RELAXED, NORMAL or PRECISION).",
      "Stabilité de fréquence",
      "Estabilidad de frecuencia"}}},
    {On::Television, {"Combo_7C2_Color_Sys",
     {"Colour system",
      "Système couleur",
      "Sistema de color"}}},
    {On::Both, {"Combo_9_AntDir",
     {"Directivity of the antenna",
      "Directivité de l'antenne",
      "Directividad de la antena"}}},
    {On::Both, {"Combo_9D_Polariz",
     {"Polarization",
      "Polarisation",
      "Polarización"}}},
    {On::Both, {"Txt_12A_OpAgcy",
     {"Code (three digits) of Operating administration or agency",
      "Code (trois digits) de l'Administration ou la compagine exploitante",
      "Símbolo (tres números) de la administración o entidad explotadora."}}},
    {On::Both, {"Txt_12B_AddrCde",
     {"Code (one character) of Postal and telegraphic addresses of the administration responsible for the station",
      "Adresses postale et télégraphique de l'administration dont relève la station (Symbole à un caractère)",
      "Símbolo (un carácter) de la Dirección postal y telegráfica de la administración responsable de la estación"}}},
    {On::Both, {"Txt_10B_Ophhfr",
     {"Regular hours (UTC) of operation [Start]",
      "Horaire normal (UTC) de fonctionnement [Début]",
      "Horario normal de funcionamiento (UTC) de la asignación de frecuencia [desde las]"}}},
    {On::Both, {"Txt_10B_Ophhto",
     {"Regular hours (UTC) of operation [End]",
      "Horaire normal (UTC) de fonctionnement [Fin]",
      "Horario normal de funcionamiento (UTC) de la asignación de frecuencia [a las]"}}},
    {On::Both, {"Txt_2C_DD",
     {"Date of bringing into use [Day]",
      "Date de mise en service [Jour]",
      "Fecha de puesta en servicio [Día]"}}},
    {On::Both, {"Txt_2C_MM",
     {"Date of bringing into use [Month]",
      "Date de mise en service [Mois]",
      "Fecha de puesta en servicio [Mes]"}}},
    {On::Both, {"Txt_2C_YY",
     {"Date of bringing into use [Year]",
      "Date de mise en service [Année]",
      "Fecha de puesta en servicio [Año]"}}},
    {On::Both, {"Txt_Internal_Rmks",
     {"Remarks indicated here are intended for internal use by the data processing operators only",
      "Les remarques indiquées ici sont destinées à l'usage interne des opérateurs de saisie des données",
      "Los comentarios indicados aquí son destinados a los operadores únicamente"}}},
    {On::Both, {"Txt_notified_Rmks",
     {"Remarks indicated in this textbox will be loaded to the database",
      "Les remarques indiquées dans ce champ seront insérées dans la base de données",
      "Los comentarios aquí indicados serán transferidos a la base de datos"}}},
    {On::Both, {"Frame_9EC_EffAntHeight",
     {"Effective antenna height at different azimuths",
      "Hauteur d'antenne équivalente à différents azimuts [m]",
      " Altura efectiva de la antena en distintos acimutes "}}},
    {On::Both, {"Frame_9NH_AttnH",
     {"Attenuation (dB) of the horizontally polarized component at different azimuths",
      "Affaiblissement (dB) de la composante à polarisation horizontale pour différents azimuts",
      "Atenuación (dB) de la componente con polarización horizontal en diferentes acimutes"}}},
    {On::Both, {"Frame_9NV_AttnV",
     {"Attenuation (dB) of the vertically polarized component at different azimuths",
      "Affaiblissement (dB) de la composante à polarisation verticale pour différents azimuts \"",
      "Atenuación (dB) de la componente con polarización vertical en diferentes acimutes"}}},
};

QString word(const app::Text& text, app::Language language)
{
    return QString::fromUtf8(text.words[languageColumn(language)]);
}

void setToolTips(NoticeForm& form, app::Language language, On on)
{
    for (const ToolTip& t : kToolTips)
        if (t.on == On::Both || t.on == on)
            if (QWidget* w = form.control(t.text.name))
                w->setToolTip(word(t.text, language));
}

void setCaptions(NoticeForm& form, app::Language language, std::string_view title)
{
    for (const app::Text& t : kTitles)
        if (t.name == title)
            form.setWindowTitle(word(t, language));
    for (const app::Text& t : kCaptions)
        if (QWidget* w = form.control(t.name))
            setCaption(w, word(t, language));
    if (QWidget* w = form.control("ChkClearFields"))
        w->setVisible(false);
}

}  // namespace

std::size_t languageColumn(app::Language language)
{
    switch (language) {
    case app::Language::French:
        return 1;
    case app::Language::Spanish:
        return 2;
    default:
        return 0;
    }
}

void setT01MToolTips(NoticeForm& form, app::Language language)
{
    setToolTips(form, language, On::Sound);
}

void setT01MCaptions(NoticeForm& form, app::Language language)
{
    setCaptions(form, language, "FmFrmT01M");
}

void setT02MToolTips(NoticeForm& form, app::Language language)
{
    setToolTips(form, language, On::Television);
}

void setT02MCaptions(NoticeForm& form, app::Language language)
{
    setCaptions(form, language, "TvFrmT02M");
}

}  // namespace forms
