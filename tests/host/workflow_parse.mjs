// Parses the CI workflow with GitHub's own parser of workflow files (@actions/workflow-parser,
// the one behind GitHub's editor support) and fails on any error it reports; then parses a
// copy with a job key misspelt, which it must refuse, so that the test can fail at all.
//   node workflow_parse.mjs PARSER_FOLDER WORKFLOW
import { readFileSync } from "node:fs";
import { register } from "node:module";
import { pathToFileURL } from "node:url";

// The parser's last release for Debian 12's Node.js 18 imports its JSON schemas without an
// import attribute, which Node.js refuses: they are loaded as modules that export them.
const jsonAsModule = `
import { readFile } from "node:fs/promises";
export async function load(url, context, nextLoad) {
  if (!url.endsWith(".json")) {
    return nextLoad(url, context);
  }
  const json = await readFile(new URL(url), "utf8");
  return { format: "module", source: "export default " + json + ";", shortCircuit: true };
}`;
register(`data:text/javascript,${encodeURIComponent(jsonAsModule)}`);

const [parserFolder, workflow] = process.argv.slice(2);
const parser = await import(
  pathToFileURL(`${parserFolder}/node_modules/@actions/workflow-parser/dist/index.js`).href
);

// The errors the parser and the conversion into a workflow template report for CONTENT.
function errorsOf(name, content) {
  const result = parser.parseWorkflow({ name, content }, new parser.NoOperationTraceWriter());
  if (result.value !== undefined) {
    parser.convertWorkflowTemplate(result.context, result.value);
  }
  return result.context.errors.getErrors().map((error) => error.message);
}

const content = readFileSync(workflow, "utf8");
const errors = errorsOf(workflow, content);
for (const error of errors) {
  console.log(`FAIL: ${error}`);
}
const broken = content.replace("timeout-minutes:", "timeout-minute:");
const refusals = errorsOf(`${workflow} (timeout-minutes misspelt)`, broken);
if (broken === content || refusals.length === 0) {
  console.log("FAIL: the parser accepts a job with the key timeout-minute");
} else {
  console.log(`a job with the key timeout-minute is refused: ${refusals[0]}`);
}
if (errors.length === 0) {
  console.log(`${workflow}: no error`);
}
process.exit(errors.length === 0 && refusals.length > 0 ? 0 : 1);
