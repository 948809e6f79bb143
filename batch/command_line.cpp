#include "batch/batch.h"
#include "batch/terminal.h"
#include "report/file_writer.h"
#include "tarifmaster/version.h"

#include <string>
#include <string_view>

namespace batch {

namespace {

// The help of both programs ends with the columns, the file and the exit statuses.
constexpr std::string_view kDesktopHelpHead
    = R"(Расчет премий для списка транспортных средств (без окна и без дисплея):
  tarifmaster --batch ФАЙЛ.csv [--output ИТОГ.csv]

)";
constexpr std::string_view kBatchProgramHelpHead
    = R"(Использование: tarifmaster-batch ФАЙЛ.csv [--output ИТОГ.csv]

Расчет премий для списка транспортных средств, как tarifmaster --batch, без окна
и без дисплея; годятся и его аргументы: tarifmaster-batch --batch ФАЙЛ.csv.

Параметры:
  --output ИТОГ.csv  записать результат в этот файл
  -h, --help         показать эту справку и выйти
  -v, --version      показать версию программы и выйти

)";
constexpr std::string_view kHelpBody
    = R"(Одна строка таблицы — одно транспортное средство; первая строка называет столбцы.
Порядок столбцов любой, регистр букв и пробелы по краям в названиях не важны,
ненужный столбец можно не включать, прочие столбцы переносятся в результат как есть.
  Категория     легковой, грузовой, прицеп, автобус, иностранный
                или текст переключателя категории на странице 10
  ТБ КТ КВС КО  сам коэффициент ("1,3") или то, что выбирают на этом шаге в окне,
  КМ КС КП КН   в том же написании: строка шага 1, населенный пункт (город,
                район Московской области, Москва, Санкт-Петербург,
                Ленинградская область, "города с численностью от 10 до 50 тыс",
                "прочие населенные пункты"), строка шагов 4-8, значение КН
  Тип ТС        автомобили (если пусто) или трактора: вид ТС для КТ
  Класс         класс на начало срока: M, 0-13
  Выплаты       число страховых выплат при продлении: 0-4; КБМ — как на шаге 3
  КБМ           или сам коэффициент вместо класса (класс и КБМ вместе — ошибка)
  Исключить КП  да или нет (если пусто — нет)
В значениях не важны регистр букв, ё/е и лишние пробелы; коэффициент числом
должен лежать в пределах таблицы своего шага.
Ячейки шагов, которые категория не использует, можно оставить пустыми.

Файл: UTF-8 (с меткой BOM или без) или Windows-1251, разделитель ";" или ",",
строки CR LF или LF. Результат — те же строки в той же кодировке, с тем же
разделителем и концами строк, и столбцы "Коэффициенты", "Страховая премия",
"Ошибка"; последняя строка "ИТОГО" — сумма премий и число рассчитанных
и отклоненных строк. Без --output результат выводится на стандартный вывод;
файл --output заменяется, только когда результат готов целиком.

Книги .xlsx и .ods: читается первый лист (формат узнается по содержимому файла);
число в ячейке читается так, как оно показано (1,3). Если имя --output
кончается на .xlsx или .ods, результат записывается книгой: премии — числа,
строка заголовка закреплена; иначе результат книги — CSV в UTF-8 с ";".
Книга с паролем, поврежденная, без листов или с пустым первым листом
не читается (код выхода 2).

Код выхода: 0 — рассчитаны все строки, 1 — есть отклоненные строки,
2 — файл не прочитан, не записан или в нем нет годной строки заголовка.
)";

// The two command lines that run the batch: the desktop program's, where the file follows --batch, and
// the batch program's, where it may also stand alone and --version is answered as well.
struct CommandLine {
    bool batchProgram;
    std::string_view usage;    // the lines after a wrong command line
    std::string_view fileHint; // how the file is given, for "не указан файл"
};

constexpr CommandLine kDesktop{false,
    "Использование: tarifmaster --batch ФАЙЛ.csv [--output ИТОГ.csv]\n"
    "Подробнее: tarifmaster --batch --help\n",
    "--batch ФАЙЛ.csv"};
constexpr CommandLine kBatchProgram{true,
    "Использование: tarifmaster-batch ФАЙЛ.csv [--output ИТОГ.csv]\n"
    "Подробнее: tarifmaster-batch --help\n",
    "tarifmaster-batch ФАЙЛ.csv"};

class StandardError : public Console {
public:
    void say(std::string_view line) override
    {
        std::string text(line);
        text += '\n';
        writeText(Stream::Error, text);
    }
    bool showsProgress() const override
    {
        return rewritesLines();
    }
    void progress(std::string_view line) override
    {
        if (line.empty() && !m_shown)
            return;
        m_shown = !line.empty();
        // Back to the start of the line, the new text, and the rest of the old one cleared.
        std::string text = "\r";
        text += line;
        text += "\033[K";
        writeText(Stream::Error, text);
    }

private:
    bool m_shown = false;
};

int usage(const CommandLine &form, const std::string &problem)
{
    writeText(Stream::Error, "tarifmaster: " + problem + "\n");
    writeText(Stream::Error, form.usage);
    return kNotRead;
}

bool isOption(std::string_view arg, std::string_view name)
{
    return arg == name || (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=');
}

// --help, or --version: the text on standard output, and success.
int answer(const CommandLine &form, bool help)
{
    if (help)
        writeText(Stream::Output,
            std::string(form.batchProgram ? kBatchProgramHelpHead : kDesktopHelpHead)
                + std::string(kHelpBody));
    else
        writeText(Stream::Output, tarifmaster::kVersionLine);
    return 0;
}

int runCommandLine(int argc, char **argv, const CommandLine &form)
{
    std::optional<std::string> input;
    Options options;
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool batch = isOption(arg, "--batch");
        if (!batch && !isOption(arg, "--output")) {
            if (arg == "--help" || arg == "-h") {
                help = true;
                continue;
            }
            if (form.batchProgram && (arg == "--version" || arg == "-v")) {
                version = true;
                continue;
            }
            if (form.batchProgram && !arg.starts_with('-')) {
                if (arg.empty())
                    return usage(form, "пустое имя файла");
                if (input)
                    return usage(form, "лишний аргумент «" + std::string(arg) + "»: файл уже указан");
                input = arg;
                continue;
            }
            return usage(form, "непонятный аргумент «" + std::string(arg) + "»");
        }
        const std::string_view name = batch ? "--batch" : "--output";
        std::string value;
        if (arg.size() > name.size()) {
            value = arg.substr(name.size() + 1);
        } else if (i + 1 < argc && !std::string_view(argv[i + 1]).starts_with("--")) {
            value = argv[++i];
        } else if (batch) {
            continue; // "--batch --help"
        } else {
            return usage(form, "после --output нужно имя файла");
        }
        if (value.empty())
            return usage(form, "пустое имя файла после " + std::string(name));
        if (batch ? input.has_value() : options.output.has_value())
            return usage(form, std::string(name) + " указан дважды");
        if (batch)
            input = value;
        else
            options.output = report::pathOfUtf8(value);
    }
    if (help || version)
        return answer(form, help);
    if (!input)
        return usage(form, "не указан файл: " + std::string(form.fileHint));
    // The arguments are UTF-8 (on Windows win32/batch_mode.cpp makes them so), and so are the names.
    options.input = report::pathOfUtf8(*input);
    StandardError console;
    return run(options, console);
}

} // namespace

std::string_view helpText()
{
    static const std::string text = std::string(kDesktopHelpHead) + std::string(kHelpBody);
    return text;
}

bool asksForBatch(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (isOption(argv[i], "--batch") || isOption(argv[i], "--output"))
            return true;
    return false;
}

std::optional<int> runFromCommandLine(int argc, char **argv)
{
    if (!asksForBatch(argc, argv))
        return std::nullopt;
    return runCommandLine(argc, argv, kDesktop);
}

int runBatchProgram(int argc, char **argv)
{
    return runCommandLine(argc, argv, kBatchProgram);
}

} // namespace batch
