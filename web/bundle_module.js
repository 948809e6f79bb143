// Writes a module's script for the site, run by Node at build time: emscripten's script, then the
// module's WebAssembly as base64 text with a function that decodes it, which the page hands to the module
// as its binary. The page works from a local folder, where nothing can be fetched, and a module left to
// fetch its binary from a data: address took several times longer than compiling it.
//
//   bundle_module.js FACTORY SCRIPT WASM OUTPUT [WORKER]
//
// FACTORY is the name the script defines (createTarifMaster); the binary is FACTORY.wasmBinary(). With
// WORKER, that worker's script follows, and the output holds the whole as one text, window.tarifmasterFleet,
// from which the page makes a Web Worker: a worker made from a text starts from a local folder too.
"use strict";
const fs = require("fs");
const [factory, script, wasm, output, worker] = process.argv.slice(2);
let source = fs.readFileSync(script, "utf8") + "\n" + factory + ".wasmBinary = () => {\n"
    + "    const text = atob(\"" + fs.readFileSync(wasm).toString("base64") + "\");\n"
    + "    const bytes = new Uint8Array(text.length);\n"
    + "    for (let i = 0; i < text.length; ++i)\n"
    + "        bytes[i] = text.charCodeAt(i);\n"
    + "    return bytes;\n"
    + "};\n";
if (worker)
    source = "window.tarifmasterFleet = " + JSON.stringify(source + fs.readFileSync(worker, "utf8")) + ";\n";
fs.writeFileSync(output, source);
