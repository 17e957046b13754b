#include "Seed.h"

#include "DemoPhoto.h"
#include "assets/Cidades.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <array>
#include <cstdio>
#include <random>
#include <string_view>

namespace vorlu::tools {
namespace {

constexpr std::array<std::string_view, 40> kWomen = {
    "MARIA", "ANA", "FRANCISCA", "ANTONIA", "ADRIANA", "JULIANA", "MARCIA", "FERNANDA", "PATRICIA", "ALINE",
    "SANDRA", "CAMILA", "AMANDA", "BRUNA", "JESSICA", "LETICIA", "JULIA", "LUCIANA", "VANESSA", "MARIANA",
    "GABRIELA", "VERA", "VITORIA", "LARISSA", "CLAUDIA", "BEATRIZ", "LUANA", "RITA", "SONIA", "RENATA",
    "ELIANE", "JOSEFA", "SIMONE", "NATALIA", "CRISTIANE", "CARLA", "DEBORA", "ROSANGELA", "CONCEIÇÃO", "LÚCIA"};
constexpr std::array<std::string_view, 40> kMen = {
    "JOSE", "JOAO", "ANTONIO", "FRANCISCO", "CARLOS", "PAULO", "PEDRO", "LUCAS", "LUIZ", "MARCOS",
    "LUIS", "GABRIEL", "RAFAEL", "DANIEL", "MARCELO", "BRUNO", "EDUARDO", "FELIPE", "RAIMUNDO", "RODRIGO",
    "MANOEL", "MATEUS", "ANDRE", "FERNANDO", "FABIO", "LEONARDO", "GUSTAVO", "GUILHERME", "LEANDRO", "TIAGO",
    "ANDERSON", "RICARDO", "MARCIO", "JORGE", "SEBASTIAO", "ALEXANDRE", "ROBERTO", "EDSON", "SÉRGIO", "JOÃO"};
constexpr std::array<std::string_view, 40> kSurnames = {
    "SILVA", "SANTOS", "OLIVEIRA", "SOUZA", "RODRIGUES", "FERREIRA", "ALVES", "PEREIRA", "LIMA", "GOMES",
    "COSTA", "RIBEIRO", "MARTINS", "CARVALHO", "ALMEIDA", "LOPES", "SOARES", "FERNANDES", "VIEIRA", "BARBOSA",
    "ROCHA", "DIAS", "NASCIMENTO", "ANDRADE", "MOREIRA", "NUNES", "MARQUES", "MACHADO", "MENDES", "FREITAS",
    "CARDOSO", "RAMOS", "GONÇALVES", "SANTANA", "TEIXEIRA", "ARAÚJO", "D'ÁVILA", "CAVALCANTI", "MONTEIRO", "PINTO"};
constexpr std::array<std::string_view, 12> kStreets = {
    "RUA DAS FLORES", "AVENIDA BRASIL", "RUA SETE DE SETEMBRO", "RUA XV DE NOVEMBRO", "AVENIDA PAULISTA",
    "RUA DOM PEDRO II", "RUA TIRADENTES", "AVENIDA GETÚLIO VARGAS", "RUA SÃO JOSÉ", "TRAVESSA DA PAZ",
    "RUA DO COMÉRCIO", "AVENIDA BEIRA-MAR"};
constexpr std::array<std::string_view, 10> kDistricts = {
    "CENTRO", "JARDIM AMÉRICA", "VILA NOVA", "SANTA CRUZ", "BOA VISTA", "SÃO FRANCISCO", "PLANALTO",
    "LIBERDADE", "BELA VISTA", "JARDIM DAS PALMEIRAS"};
constexpr std::array<std::string_view, 27> kStates = {"AC", "AL", "AP", "AM", "BA", "CE", "DF", "ES", "GO",
                                                      "MA", "MT", "MS", "MG", "PA", "PB", "PR", "PE", "PI",
                                                      "RJ", "RN", "RS", "RO", "RR", "SC", "SP", "SE", "TO"};
constexpr std::array<std::string_view, 6> kPlans = {"", "PARTICULAR", "UNIMED", "BRADESCO SAÚDE", "AMIL",
                                                    "SULAMÉRICA"};
constexpr std::array<std::string_view, 3> kEthnicities = {"ASIÁTICO", "BRANCO", "AFRO-DESCENDENTE"};
constexpr std::array<std::string_view, 5> kRemarks = {
    "", "Prefere atendimento pela manhã.", "Encaminhada pelo Dr. Souza.", "Retorno a cada 30 dias.",
    "Avisar por telefone um dia antes da consulta."};

// The stored form of a phone field left empty: the mask's literals and blanks.
constexpr const char* kEmptyPhone = "(  )     -    ";

class Generator {
public:
    explicit Generator(std::uint32_t seed) : random_(seed) {}

    template <typename Container>
    std::string_view pick(const Container& items)
    {
        return items[std::uniform_int_distribution<size_t>(0, items.size() - 1)(random_)];
    }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(int percent) { return between(1, 100) <= percent; }

    // Phones and postal codes in the stored form of the record screen's masks.
    std::string phone(bool mobile)
    {
        char text[20];
        std::snprintf(text, sizeof text, "(%02d) %04d-%04d", between(11, 99),
                      mobile ? between(9100, 9999) : between(2000, 5999), between(0, 9999));
        return text;
    }
    std::string postalCode()
    {
        char text[20];
        std::snprintf(text, sizeof text, "%02d.%03d-%03d", between(1, 99), between(0, 999), between(0, 999));
        return text;
    }

private:
    std::mt19937 random_;
};

std::string asciiLower(std::string_view text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c >= 'A' && c <= 'Z')
            out += static_cast<char>(c - 'A' + 'a');
        else if (c < 0x80 && c != '\'')
            out += static_cast<char>(c);
    }
    return out;
}

} // namespace

void seedPatients(const std::string& location, const SeedOptions& options)
{
    data::Connection connection;
    connection.setDatabaseName(location);
    connection.open();
    data::Transaction transaction(connection);
    data::Query insert(connection, transaction);
    data::Query consultation(connection, transaction);
    data::Query lookup(connection, transaction);

    lookup.addSql("SELECT COALESCE(MAX(PAC_COD__), 0) AS P, (SELECT COALESCE(MAX(CON_COD__), 0) FROM CONSULTAS) AS C "
                  "FROM PACIENTES");
    lookup.open();
    std::int32_t code = lookup.fieldByName("P").asInteger();
    std::int32_t consultationCode = lookup.fieldByName("C").asInteger();
    lookup.close();

    auto prepareInsert = [&] {
        insert.setSql({"INSERT INTO PACIENTES (PAC_COD__, PAC_INC__, PAC_FOT__, PAC_NOM__, PAC_SEX__, PAC_NAS__,",
                       "PAC_PES__, PAC_END__, PAC_CID__, PAC_UF__, PAC_BAI__, PAC_CEP__, PAC_FON_1, PAC_FON_2,",
                       "PAC_FON_3, PAC_CEL__, PAC_EMA__, PAC_OBS__, PAC_CON__, PAC_OBS_C, PAC_ETN__) VALUES (",
                       ":COD, :INC, :FOT, :NOM, :SEX, :NAS, :PES, :END, :CID, :UF, :BAI, :CEP, :F1, :F2, :F3,",
                       ":CEL, :EMA, :OBS, :CON, :OBSC, :ETN)"});
        consultation.setSql({"INSERT INTO CONSULTAS (CON_COD__, CON_PAC__, CON_DAT__) VALUES (:C, :P, :D)"});
    };
    prepareInsert();

    Generator gen(options.randomSeed);
    const auto cities = assets::cidades();
    const std::vector<data::MemoryStream> photos = demoPhotos();
    // Bound once: the statement keeps the parameter objects until its text changes.
    for (std::uint64_t done = 0; done < options.count; ++done) {
        ++code;
        const bool woman = gen.chance(60);
        std::string name = std::string(woman ? gen.pick(kWomen) : gen.pick(kMen));
        if (gen.chance(30))
            name += " " + std::string(gen.pick(woman ? kWomen : kMen));
        const std::string_view surname1 = gen.pick(kSurnames);
        const std::string_view surname2 = gen.pick(kSurnames);
        name += " " + std::string(surname1) + " " + std::string(surname2);

        const double today = 46367; // 11 December 2026
        auto& p = insert;
        p.paramByName("COD").setAsInteger(code);
        p.paramByName("INC").setAsDate(today - gen.between(0, 3650));
        if (!photos.empty() && options.photoEvery && done % options.photoEvery == 0)
            p.paramByName("FOT").loadFromStream(photos[done % photos.size()]);
        else
            p.paramByName("FOT").clear();
        p.paramByName("NOM").setAsString(name);
        p.paramByName("SEX").setAsString(woman ? "FEMININO" : "MASCULINO");
        p.paramByName("NAS").setAsDate(today - gen.between(365 * 2, 365 * 90));
        p.paramByName("PES").setAsString(std::to_string(gen.between(45, 130)));
        p.paramByName("END").setAsString(std::string(gen.pick(kStreets)) + ", " + std::to_string(gen.between(1, 3000)));
        p.paramByName("CID").setAsString(cities.empty() ? "" : cities[static_cast<size_t>(gen.between(0, static_cast<int>(cities.size()) - 1))]);
        p.paramByName("UF").setAsString(gen.pick(kStates));
        p.paramByName("BAI").setAsString(gen.pick(kDistricts));
        p.paramByName("CEP").setAsString(gen.postalCode());
        p.paramByName("F1").setAsString(gen.phone(false));
        p.paramByName("F2").setAsString(gen.chance(40) ? gen.phone(false) : kEmptyPhone);
        p.paramByName("F3").setAsString(kEmptyPhone);
        p.paramByName("CEL").setAsString(gen.phone(true));
        p.paramByName("EMA").setAsString(asciiLower(name.substr(0, name.find(' '))) + "." +
                                         asciiLower(surname2) + std::to_string(code) + "@exemplo.com.br");
        p.paramByName("OBS").setAsString(gen.chance(20) ? "Paciente em acompanhamento nutricional." : "");
        p.paramByName("CON").setAsString(gen.pick(kPlans));
        p.paramByName("OBSC").setAsString(gen.pick(kRemarks));
        p.paramByName("ETN").setAsString(gen.pick(kEthnicities));
        insert.execSql();

        if (options.consultationsEvery && done % options.consultationsEvery == 0) {
            const int visits = gen.between(1, 3);
            for (int v = 0; v < visits; ++v) {
                consultation.paramByName("C").setAsInteger(++consultationCode);
                consultation.paramByName("P").setAsInteger(code);
                consultation.paramByName("D").setAsDate(today - gen.between(0, 700));
                consultation.execSql();
            }
        }
        if ((done + 1) % options.batch == 0) {
            transaction.commit(); // frees the statements: prepare them again
            prepareInsert();
            if (options.progress)
                options.progress(done + 1);
        }
    }
    if (transaction.active())
        transaction.commit();
}

} // namespace vorlu::tools
