// Records every request a client makes, to replay them with curl: a Data API
// stand-in on a free loopback port (printed on the first line of standard
// output) that answers as an empty Joplin would.
//
//   node bench/capture-api.js DIR
//
// Each request is written to DIR as NNNNNN.req (method, path without the
// token, content type: one a line) and NNNNNN.body (its body). GET /folders
// and GET /events answer empty; a POST or PUT answers the id its body names.
const http = require("http");
const fs = require("fs");
const path = require("path");

const dir = process.argv[2];
fs.mkdirSync(dir, { recursive: true });
let count = 0;

const server = http.createServer((req, res) => {
  const chunks = [];
  req.on("data", (d) => chunks.push(d));
  req.on("end", () => {
    const body = Buffer.concat(chunks);
    const name = String(count++).padStart(6, "0");
    const url = new URL(req.url, "http://x");
    url.searchParams.delete("token");
    fs.writeFileSync(path.join(dir, name + ".req"),
      `${req.method}\n${url.pathname}${url.search}\n${req.headers["content-type"] || ""}\n`);
    fs.writeFileSync(path.join(dir, name + ".body"), body);
    let answer = "{}";
    if (req.method === "GET" && url.pathname === "/folders") answer = '{"items":[],"has_more":false}';
    else if (req.method === "GET" && url.pathname === "/events") answer = '{"items":[],"has_more":false,"cursor":"0"}';
    else if (req.method === "POST" || req.method === "PUT") {
      const id = /"id":"([0-9a-f]{32})"/.exec(body.toString("latin1"));
      answer = JSON.stringify({ id: id ? id[1] : "0".repeat(32), title: "t" });
    }
    res.writeHead(200, { "Content-Type": "application/json" });
    res.end(answer);
  });
});
server.listen(0, "127.0.0.1", () => console.log(server.address().port));
