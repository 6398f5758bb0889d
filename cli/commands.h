#pragma once
// Each group of tavricat-cli commands registers its subcommands here.

namespace CLI {
class App;
}

namespace tavricat::cli {

struct CliContext;

void registerSetupCommands(CLI::App& app, CliContext& context);     // init, check, status
void registerSettingsCommands(CLI::App& app, CliContext& context);  // settings list/get/set
void registerDocumentCommands(CLI::App& app, CliContext& context);  // segment, doc target/pairs
void registerEngineCommands(CLI::App& app, CliContext& context);    // analyse, dict lookup/build
void registerGrammarCommands(CLI::App& app, CliContext& context);   // grammar add/delete/import
void registerMtCommands(CLI::App& app, CliContext& context);        // mt
void registerTmCommands(CLI::App& app, CliContext& context);        // tm add/search/stats/new/use/update
void registerDataCommands(CLI::App& app, CliContext& context);      // data verbs
void registerTranslateCommands(CLI::App& app, CliContext& context); // translate
void registerProjectCommands(CLI::App& app, CliContext& context);   // analyse-project
void registerSuggestCommands(CLI::App& app, CliContext& context);   // suggest
void registerConfirmCommands(CLI::App& app, CliContext& context);   // confirm
void registerLinkCommands(CLI::App& app, CliContext& context);      // link translate/text/bil/cleanup
void registerTeamCommands(CLI::App& app, CliContext& context);      // team create/login/sync/take/users/...
void registerQaCommands(CLI::App& app, CliContext& context);        // qa
// tm import/export (TMX), under the `tm` command of registerTmCommands.
void registerTmxCommands(CLI::App& tm, CliContext& context);
void registerConcordanceCommands(CLI::App& tm, CliContext& context);  // tm concordance
// dict import/export/edit, under the `dict` command of registerEngineCommands.
void registerTermFileCommands(CLI::App& dict, CliContext& context);

}  // namespace tavricat::cli
