#include "cli/command_table_p.h"

#include "cli/commands_p.h"
#include "cli/console_p.h"
#include "cli/run_command_line.h"

namespace pictarium::cli {

namespace {

QList<CommandSyntax> buildTable() {
    const QString base = QStringLiteral("BASE");
    const QString index = QStringLiteral("INDEX");
    const OptionSyntax fit{FitOption, QStringLiteral("LxH"),
                           QStringLiteral("réduit, en gardant ses proportions, une image plus "
                                          "grande que L × H pixels avant de la ranger")};
    return {
        {QStringLiteral("create"),
         {base},
         {{YesOption, QString(),
           QStringLiteral("remplace sans demander une base qui existe déjà")}},
         QStringLiteral("crée une base vide"),
         QStringLiteral("Crée la base vide BASE (nom en .bdp). Sans --yes, une base existante "
                        "n'est pas remplacée."),
         &runCreate},
        {QStringLiteral("add"),
         {base, QStringLiteral("IMAGE"), QStringLiteral("TEXTE")},
         {fit},
         QStringLiteral("ajoute des images et leurs descriptions"),
         QStringLiteral("Ajoute à la fin de BASE l'image du fichier IMAGE, décrite par TEXTE "
                        "(1 à 255 caractères), et de même chaque couple IMAGE TEXTE qui suit, "
                        "tous en une seule réécriture de la base : si une image ne se lit pas ou "
                        "si une description est refusée, rien n'est ajouté. IMAGE est lu selon "
                        "son extension, comme dans la fenêtre : BMP, WMF, EMF, RLE, ICO, GIF, "
                        "JPG, TIF, PNG, PCX, TGA, PSD et les autres formats reconnus."),
         &runAdd,
         {QStringLiteral("IMAGE"), QStringLiteral("TEXTE")}},
        {QStringLiteral("import"),
         {base, QStringLiteral("LISTE.tsv")},
         {fit},
         QStringLiteral("ajoute les images d'une liste"),
         QStringLiteral("Ajoute à la fin de BASE, en une seule réécriture, une image par ligne "
                        "de LISTE.tsv : CHEMIN, une tabulation, puis la description. Un CHEMIN "
                        "relatif part du dossier de la liste ; les lignes vides sont sautées. "
                        "Une ligne dont l'image manque ou ne se lit pas, ou dont la description "
                        "est refusée, arrête tout avant que rien ne soit écrit, et son numéro "
                        "est donné."),
         &runImport},
        {QStringLiteral("list"),
         {base},
         {},
         QStringLiteral("liste les enregistrements"),
         QStringLiteral("Écrit une ligne par enregistrement : INDEX, longueur du texte, longueur "
                        "de l'image et TEXTE, séparés par des tabulations."),
         &runList},
        {QStringLiteral("picture"),
         {base, index, QStringLiteral("SORTIE.bmp")},
         {},
         QStringLiteral("extrait l'image d'un enregistrement"),
         QStringLiteral("Écrit dans SORTIE.bmp le fichier bitmap de l'enregistrement INDEX, tel "
                        "que la base le reconstruit, son champ de taille égal à sa longueur."),
         &runPicture},
        {QStringLiteral("export"),
         {base, index, QStringLiteral("SORTIE")},
         {},
         QStringLiteral("enregistre l'image d'un enregistrement en BMP, JPEG ou PNG"),
         QStringLiteral("Enregistre l'image de l'enregistrement INDEX dans SORTIE, comme "
                        "« Enregistrer sous... » : en BMP 24 bits si le nom finit par .bmp, en "
                        "JPEG s'il finit par .jpg ou .jpeg, en PNG s'il finit par .png."),
         &runExport},
        {QStringLiteral("export-all"),
         {base, QStringLiteral("DOSSIER")},
         {{FormatOption, QStringLiteral("png|bmp|jpg"),
           QStringLiteral("format des images écrites (par défaut png)")}},
         QStringLiteral("enregistre toutes les images d'une base dans un dossier"),
         QStringLiteral("Écrit l'image de chaque enregistrement dans DOSSIER/NNNNN.png (ou .bmp, "
                        ".jpg), NNNNN étant son index sur cinq chiffres, et DOSSIER/index.tsv, "
                        "une ligne NNNNN.png, tabulation, description par enregistrement, dans "
                        "l'ordre de la base : la liste que « import » relit. DOSSIER est créé "
                        "s'il manque ; les fichiers de ces noms sont remplacés."),
         &runExportAll},
        {QStringLiteral("catalogue"),
         {base, QStringLiteral("SORTIE.pdf")},
         {{ColumnsOption, QStringLiteral("N"),
           QStringLiteral("nombre de colonnes, de 2 à 6 (par défaut 3)")},
          {FilterOption, QStringLiteral("TEXTE"),
           QStringLiteral("seulement les enregistrements dont la description contient TEXTE")}},
         QStringLiteral("imprime le catalogue d'une base dans un fichier PDF"),
         QStringLiteral("Écrit dans SORTIE.pdf le catalogue de BASE : un titre avec le nom de la "
                        "base et la date, puis l'image de chaque enregistrement avec, dessous, "
                        "son rang (à partir de 1) et sa description entière, en colonnes. Avec "
                        "--filter, seuls les enregistrements dont la description contient TEXTE, "
                        "comparé comme le fait « search », y figurent. Les images gardent au "
                        "moins 150 points par pouce à leur taille imprimée. Une base vide, ou un "
                        "filtre qu'aucune description ne contient, n'en donne aucun."),
         &runCatalogue},
        {QStringLiteral("delete"),
         {base, index},
         {},
         QStringLiteral("supprime des enregistrements"),
         QStringLiteral("Supprime de BASE l'enregistrement INDEX, et de même chaque INDEX qui "
                        "suit, tous en une seule réécriture ; chaque INDEX est compté dans la "
                        "base telle qu'elle était avant la commande. Un index répété ou absent "
                        "de la base arrête tout avant que rien ne soit écrit."),
         &runDelete,
         {index}},
        {QStringLiteral("text"),
         {base, index, QStringLiteral("TEXTE")},
         {},
         QStringLiteral("change la description d'un enregistrement"),
         QStringLiteral("Remplace la description de l'enregistrement INDEX par TEXTE (1 à 255 "
                        "caractères) ; son image ne change pas."),
         &runText},
        {QStringLiteral("texts"),
         {base, QStringLiteral("LISTE.tsv")},
         {},
         QStringLiteral("change les descriptions d'une liste"),
         QStringLiteral("Remplace, en une seule réécriture, la description de chaque "
                        "enregistrement que nomme LISTE.tsv : une ligne par enregistrement, "
                        "INDEX, une tabulation, puis la nouvelle description. Les lignes vides "
                        "sont sautées. Une ligne dont l'index manque à la base ou dont la "
                        "description est refusée arrête tout avant que rien ne soit écrit, et "
                        "son numéro est donné."),
         &runTexts},
        {QStringLiteral("move"),
         {base, QStringLiteral("DE"), QStringLiteral("VERS")},
         {},
         QStringLiteral("déplace un enregistrement"),
         QStringLiteral("Déplace l'enregistrement d'index DE pour qu'il ait l'index VERS ; les "
                        "autres gardent leur ordre."),
         &runMove},
        {QStringLiteral("trash"),
         {base},
         {{EmptyOption, QString(), QStringLiteral("vide la corbeille de BASE pour de bon")}},
         QStringLiteral("liste la corbeille d'une base"),
         QStringLiteral("Écrit une ligne par enregistrement supprimé de BASE que garde sa "
                        "corbeille, du plus ancien au plus récent : son numéro dans la "
                        "corbeille, la date de la suppression (ISO 8601), son ancien index, la "
                        "longueur du texte, celle de l'image et le texte, séparés par des "
                        "tabulations. Avec --empty, vide la corbeille."),
         &runTrash},
        {QStringLiteral("restore"),
         {base, QStringLiteral("NUMÉRO")},
         {},
         QStringLiteral("remet dans la base des enregistrements de sa corbeille"),
         QStringLiteral("Remet à leur ancienne place dans BASE (ou à la fin d'une base devenue "
                        "plus courte) l'enregistrement de la corbeille NUMÉRO, tel que « trash » "
                        "le numérote, et de même chaque NUMÉRO qui suit, en une seule "
                        "réécriture ; ils quittent la corbeille."),
         &runRestore,
         {QStringLiteral("NUMÉRO")}},
        {QStringLiteral("search"),
         {base, QStringLiteral("TEXTE")},
         {{FromOption, index, QStringLiteral("enregistrement de départ, qui n'est pas examiné"),
           true},
          {BackwardOption, QString(), QStringLiteral("cherche vers l'enregistrement 0")}},
         QStringLiteral("cherche une description"),
         QStringLiteral("Cherche TEXTE, sans distinguer les majuscules, dans les descriptions qui "
                        "suivent l'enregistrement INDEX (ou le précèdent avec --backward) et "
                        "écrit l'index du plus proche trouvé."),
         &runSearch},
        {QStringLiteral("info"),
         {base},
         {{AtOption, index, QStringLiteral("enregistrement affiché (par défaut 0)")}},
         QStringLiteral("décrit la base"),
         QStringLiteral("Écrit le texte d'information de Pictarium sur BASE."),
         &runInfo},
        {QStringLiteral("verify"),
         {base},
         {},
         QStringLiteral("vérifie la structure d'une base"),
         QStringLiteral("Contrôle chaque règle du format et la reconstruction de chaque image, "
                        "sans passer par le moteur, et écrit ce qui ne va pas, enregistrement "
                        "par enregistrement."),
         &runVerify},
        {QStringLiteral("recover"),
         {QStringLiteral("ENDOMMAGÉE.bdp"), QStringLiteral("NOUVELLE.bdp")},
         {{YesOption, QString(), QStringLiteral("remplace sans demander une base qui existe déjà")},
          {PartialOption, QString(),
           QStringLiteral("garde une dernière image coupée, ses lignes perdues en blanc")}},
         QStringLiteral("récupère les enregistrements lisibles d'une base endommagée"),
         QStringLiteral("Écrit dans NOUVELLE.bdp, dans leur ordre, les enregistrements de "
                        "ENDOMMAGÉE.bdp dont le texte et l'image se lisent encore : ceux que "
                        "donne l'index, et ceux qu'une recherche dans les octets retrouve où "
                        "l'index est abîmé. ENDOMMAGÉE.bdp n'est jamais modifiée. Écrit une ligne "
                        "par enregistrement récupéré (index ou scan, position dans "
                        "ENDOMMAGÉE.bdp, texte), puis un bilan. Sort en 1 si rien n'a pu être "
                        "récupéré."),
         &runRecover},
    };
}

}  // namespace

const QList<CommandSyntax>& commandTable() {
    static const QList<CommandSyntax> table = buildTable();
    return table;
}

ExitStatus runCommandLine(const QStringList& words) {
    const QList<CommandSyntax>& commands = commandTable();
    const Invocation call = Invocation::parse(words, commands);
    switch (call.kind()) {
        case Invocation::Kind::GeneralHelp:
            printOut(generalHelp(commands));
            return ExitStatus::Success;
        case Invocation::Kind::CommandHelp:
            printOut(commandHelp(*call.command()));
            return ExitStatus::Success;
        case Invocation::Kind::UsageError:
            return reportUsageError(call.usageError(), call.command());
        case Invocation::Kind::Run:
            break;
    }
    return call.command()->run(call);
}

}  // namespace pictarium::cli
